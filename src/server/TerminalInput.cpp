#include "server/TerminalInput.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "routines/FoldAccents.h"
#include "routines/Windows1252Text.h"
#include "server/KeysOfRead.h"
#include "server/ScreenProtocol.h"

namespace mts {

namespace {

constexpr char kRedraw = '\x00';
constexpr std::string_view kShowDetail = ",";
constexpr std::string_view kEnter = "\r";
constexpr std::string_view kDelete = "\x7F";
constexpr std::string_view kEscape = "\x1B";
constexpr std::string_view kBackspace = "\x08";

// Only a to z change: the accented letters of Windows-1252 stay as they are.
std::string UpperCaseAsciiLetters(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

TerminalInput::TerminalInput(RegConnections& registry, TerminalScreen& screen,
                             CardSubmission& submission, ReceivedWriter addReceived)
    : registry_(registry),
      screen_(screen),
      submission_(submission),
      addReceived_(std::move(addReceived)) {
  submission_.setAnswered([this](TRegConnection& terminal) { HandleHeldKeys(terminal); });
}

void TerminalInput::ServerClientRead(const std::shared_ptr<TerminalConnection>& connection,
                                     std::string_view bytes) {
  if (bytes.empty()) return;
  // Every connection is registered by its connect event before it can deliver
  // data; a read from anywhere else has no record to act on.
  const int number = registry_.FindTerminal(connection->remoteAddress());
  if (number < 0) return;
  TRegConnection& terminal = registry_.TerminalAt(number);
  if (terminal.Busy) {
    Hold(terminal, bytes);
    return;
  }
  HandleKeys(terminal, *connection, bytes);
}

bool TerminalInput::HandleKeys(TRegConnection& terminal, TerminalConnection& connection,
                               std::string_view bytes) {
  for (const std::string_view key : KeysOfRead(bytes)) {
    HandleKey(terminal, connection, UpperCaseAsciiLetters(key));
    if (terminal.Busy) {
      // The key submitted an entry: what follows it waits for the answer,
      // ahead of any read held before.
      const auto rest = static_cast<std::size_t>(key.data() + key.size() - bytes.data());
      if (rest < bytes.size()) terminal.HeldReads.emplace_front(bytes.substr(rest));
      return false;
    }
  }
  return true;
}

void TerminalInput::Hold(TRegConnection& terminal, std::string_view bytes) {
  if (bytes.empty()) return;
  std::size_t held = 0;
  for (const std::string& read : terminal.HeldReads) held += read.size();
  const std::size_t room = kHeldKeysLimit - std::min(kHeldKeysLimit, held);
  if (room == 0) return;
  terminal.HeldReads.emplace_back(bytes.substr(0, room));
}

void TerminalInput::HandleHeldKeys(TRegConnection& terminal) {
  while (!terminal.Busy && !terminal.HeldReads.empty()) {
    const std::shared_ptr<TerminalConnection> connection = terminal.Connection.lock();
    if (!connection || !connection->isOpen()) {
      terminal.HeldReads.clear();
      return;
    }
    const std::string read = std::move(terminal.HeldReads.front());
    terminal.HeldReads.pop_front();
    if (!HandleKeys(terminal, *connection, read)) {
      // It went Busy again: the rest of that read goes before the later ones.
      return;
    }
  }
}

void TerminalInput::HandleKey(TRegConnection& terminal, TerminalConnection& connection,
                              const std::string& key) {
  if (key.front() == kRedraw) {
    BackToPrompt(terminal);
    return;
  }
  addReceived_("Terminal " + std::to_string(terminal.TerminalNumber) + " - " +
               std::to_string(static_cast<unsigned char>(key.front())));

  if (key == kShowDetail) {
    if (!terminal.PendingError.empty()) {
      ShowPendingError(terminal);
    } else if (terminal.Input.empty()) {
      BackToPrompt(terminal);
    }
    // Otherwise the comma is ignored: a refused badge is still in Input.
    return;
  }

  // A result on display goes away with the first key after it, which is then
  // handled against the fresh prompt.
  if (!terminal.ShownResult.empty()) BackToPrompt(terminal);

  // An arrow or F key has no meaning here; above all it is not the cancel key.
  if (IsFunctionKey(key)) return;

  if (key == kEnter) {
    const std::string entry(text::TrimBlanksAndControls(terminal.Input));
    if (entry.empty()) return;
    addReceived_("Entrada: " + entry);
    submission_.SubmitInput(terminal);
    return;
  }
  if (key == kDelete || key == kEscape) {
    terminal.Input.clear();
    screen_.ShowBadgePrompt(terminal);
    return;
  }
  if (key == kBackspace) {
    if (terminal.Input.empty()) return;
    connection.send(screen::BackspaceEcho());
    terminal.Input.pop_back();
    return;
  }

  const std::size_t limit =
      terminal.State == TerminalState::WaitingBadge ? kBadgeLimit : kCardLimit;
  if (terminal.Input.size() + 1 > limit) {
    // The key past the limit submits the entry and is itself dropped.
    submission_.SubmitInput(terminal);
  } else {
    AppendKey(terminal, connection, key);
  }
}

void TerminalInput::AppendKey(TRegConnection& terminal, TerminalConnection& connection,
                              std::string_view key) {
  const std::string upper = UpperCaseAsciiLetters(key);
  connection.send(screen::KeyEcho(upper));
  terminal.Input = text::TrimBlanksAndControls(terminal.Input + upper);
}

void TerminalInput::BackToPrompt(TRegConnection& terminal) {
  if (terminal.HasLeds) {
    screen_.RedLed(terminal, LedMode::Off);
    screen_.GreenLed(terminal, LedMode::Off);
  }
  terminal.Input.clear();
  terminal.ShownResult.clear();
  if (terminal.State == TerminalState::WaitingBadge) {
    screen_.ShowBadgePrompt(terminal);
  } else {
    screen_.ShowCardPrompt(terminal);
  }
}

void TerminalInput::ShowPendingError(TRegConnection& terminal) {
  const std::string detail = UpperCaseAsciiLetters(FoldAccents(terminal.PendingError));
  screen_.ClearScreen(terminal);
  screen_.WriteLongText(terminal, detail);
  terminal.PendingError.clear();
  terminal.Input.clear();
}

}  // namespace mts
