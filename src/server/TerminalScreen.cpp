#include "server/TerminalScreen.h"

#include <algorithm>
#include <utility>

#include "server/TerminalText.h"

namespace mts {

namespace {

constexpr int kResultRow = 3;
constexpr std::size_t kResultLength = 20;

}  // namespace

std::string SuccessText(std::string_view cardKind) {
  if (cardKind == "S") return "SUBFICHA ATUALIZADA";
  if (cardKind == "T") return "TALAO ATUALIZADO";
  if (cardKind == "I") return "ID SUBFICHA ATUALIZADA";
  if (cardKind == "FC") return "FICHA CORTE ATUALIZADA";
  if (cardKind == "O") return "FICHA OP.SETOR ATUALIZADA";
  return "FICHA ATUALIZADA";
}

// One running blink: where it sends, what it started on, how far it got.
struct TerminalScreen::Blink {
  TRegConnection* terminal;
  std::weak_ptr<TerminalConnection> startedOn;
  Led led;
  int remaining;
  int pause;
  AfterBlink afterBlink;
};

TerminalScreen::TerminalScreen(TerminalSettings settings, EventTimer& timer, LogWriter writeLog)
    : settings_(settings), timer_(timer), writeLog_(std::move(writeLog)) {}

void TerminalScreen::Send(const TRegConnection& terminal, std::string_view bytes) {
  SendToTerminal(terminal, bytes);
}

void TerminalScreen::ClearScreen(TRegConnection& terminal) {
  Send(terminal, screen::ClearScreenCommand(settings_.Dialect()));
  PositionCursor(terminal, 0, 0);
}

void TerminalScreen::PositionCursor(TRegConnection& terminal, int row, int column) {
  Send(terminal, screen::CursorCommand(settings_.Dialect(), row, column));
}

void TerminalScreen::WriteText(TRegConnection& terminal, std::string_view text) {
  Send(terminal, screen::WriteTextCommand(settings_.Dialect(), settings_.WideKeyboard, text));
}

void TerminalScreen::WriteLongText(TRegConnection& terminal, std::string_view text) {
  Send(terminal, screen::WriteLongTextCommand(settings_.Dialect(), text));
}

void TerminalScreen::ClearLine(TRegConnection& terminal, int row) {
  PositionCursor(terminal, row, 0);
  WriteText(terminal, std::string(screen::kScreenWidth, ' '));
  PositionCursor(terminal, row, 0);
}

void TerminalScreen::SetLed(TRegConnection& terminal, bool on, Led led) {
  Send(terminal, screen::LedCommand(led, on));
  PositionCursor(terminal, 0, 0);
}

void TerminalScreen::RedLed(TRegConnection& terminal, LedMode mode) {
  switch (mode) {
    case LedMode::On:
      SetLed(terminal, true, Led::Red);
      break;
    case LedMode::Off:
      SetLed(terminal, false, Led::Red);
      break;
    case LedMode::Blink:
      BlinkLed(terminal, Led::Red, settings_.RedLedRepeats, settings_.RedLedTime);
      break;
  }
}

void TerminalScreen::GreenLed(TRegConnection& terminal, LedMode mode) {
  switch (mode) {
    case LedMode::On:
      SetLed(terminal, true, Led::Green);
      break;
    case LedMode::Off:
      SetLed(terminal, false, Led::Green);
      break;
    case LedMode::Blink:
      BlinkLed(terminal, Led::Green, settings_.GreenLedRepeats, settings_.GreenLedTime);
      break;
  }
}

void TerminalScreen::BlinkLed(TRegConnection& terminal, Led led, int times, int milliseconds,
                              AfterBlink afterBlink) {
  if (times <= 0) {
    if (afterBlink) afterBlink();
    return;
  }
  BlinkOn(std::make_shared<Blink>(Blink{&terminal, terminal.Connection, led, times,
                                        std::max(milliseconds, 0), std::move(afterBlink)}));
}

void TerminalScreen::BlinkOn(const std::shared_ptr<Blink>& blink) {
  SetLed(*blink->terminal, true, blink->led);
  AfterPause(blink, &TerminalScreen::BlinkOff);
}

void TerminalScreen::BlinkOff(const std::shared_ptr<Blink>& blink) {
  SetLed(*blink->terminal, false, blink->led);
  AfterPause(blink, &TerminalScreen::BlinkEnded);
}

void TerminalScreen::BlinkEnded(const std::shared_ptr<Blink>& blink) {
  if (--blink->remaining > 0) {
    BlinkOn(blink);
  } else if (blink->afterBlink) {
    blink->afterBlink();
  }
}

void TerminalScreen::AfterPause(const std::shared_ptr<Blink>& blink,
                                void (TerminalScreen::*next)(const std::shared_ptr<Blink>&)) {
  std::weak_ptr<int> alive = alive_;
  timer_.callAfter(blink->pause, [this, alive, blink, next] {
    if (alive.expired() || !StillConnectedTo(*blink->terminal, blink->startedOn)) return;
    (this->*next)(blink);
  });
}

void TerminalScreen::ShowBadgePrompt(TRegConnection& terminal) {
  ClearScreen(terminal);
  PositionCursor(terminal, 0, 0);
  WriteText(terminal, kBadgePrompt);

  terminal.State = TerminalState::WaitingBadge;
  terminal.Input.clear();
  terminal.ShownResult.clear();
  terminal.PendingError.clear();
  terminal.EmployeeCode.clear();
  terminal.EmployeeName.clear();
  terminal.EmployeeSector.clear();
  terminal.CardKind.clear();
}

void TerminalScreen::ShowCardPrompt(TRegConnection& terminal) {
  ClearScreen(terminal);
  WriteText(terminal, terminal.EmployeeName);
  PositionCursor(terminal, 1, 0);
  WriteText(terminal, kCardPrompt);
  PositionCursor(terminal, 1, static_cast<int>(kCardPrompt.size()));

  terminal.Input.clear();
  terminal.PendingError.clear();
  terminal.ShownResult.clear();
}

void TerminalScreen::ShowResult(TRegConnection& terminal, std::string_view text) {
  writeLog_("Indice Terminal: " + std::to_string(terminal.SocketIndex) +
            " Msg: " + std::string(text));

  const std::string shown = FirstChars(TrimBlanksAndControls(text), kResultLength);
  ClearLine(terminal, kResultRow);
  PositionCursor(terminal, kResultRow, 0);
  WriteText(terminal, shown);
  terminal.ShownResult = shown;
}

}  // namespace mts
