#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "server/ScreenProtocol.h"
#include "server/TRegConnection.h"
#include "server/TerminalConnection.h"

namespace mts {

// The server settings the screen operations depend on, with their defaults.
struct TerminalSettings {
  bool ProtocolStxEtx = false;      // STX-ETX dialect; false = VT-100
  bool WideKeyboard = false;        // text writes cut at 40 instead of 20
  std::int32_t GreenLedTime = 300;  // ms on and ms off of one green blink
  std::int32_t RedLedTime = 300;
  std::int32_t GreenLedRepeats = 1;
  std::int32_t RedLedRepeats = 2;

  ScreenDialect Dialect() const {
    return ProtocolStxEtx ? ScreenDialect::StxEtx : ScreenDialect::Vt100;
  }
};

// What RedLed/GreenLed do with their LED.
enum class LedMode { On = 0, Off = 1, Blink = 2 };

// The screen texts of the badge and card flow.
inline constexpr std::string_view kBadgePrompt = "CRACHA:";
inline constexpr std::string_view kCardPrompt = "FICHA:";

// The text shown after a successful posting of a card of the given kind.
std::string SuccessText(std::string_view cardKind);

// Screen, prompt and LED operations on a terminal record. Every command goes
// to the record's current Connection and is dropped when that connection has
// closed or been released. Constructed once by the server with its settings,
// the event timer and the log writer; all three must outlive it. Event-loop
// thread only.
class TerminalScreen {
 public:
  // Appends one line to the server's log file; may throw (log errors reach the
  // caller).
  using LogWriter = std::function<void(const std::string& message)>;
  // What a blink goes on with once it has ended.
  using AfterBlink = std::function<void()>;

  TerminalScreen(TerminalSettings settings, EventTimer& timer, LogWriter writeLog);
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // The settings may be changed (e.g. once the configuration is read).
  TerminalSettings& Settings() { return settings_; }
  const TerminalSettings& Settings() const { return settings_; }

  // Clear screen, then cursor to row 0, column 0.
  void ClearScreen(TRegConnection& terminal);
  // One cursor command, with the wrap rule.
  void PositionCursor(TRegConnection& terminal, int row, int column);
  // One write of the first 20 characters (40 on the wide keyboard).
  void WriteText(TRegConnection& terminal, std::string_view text);
  // One write of the first 80 characters.
  void WriteLongText(TRegConnection& terminal, std::string_view text);
  // Cursor to the row's column 0, 20 blanks, cursor to the row's column 0.
  void ClearLine(TRegConnection& terminal, int row);

  // The LED on or off, then cursor home.
  void SetLed(TRegConnection& terminal, bool on, Led led);
  // On, off, or a blink of RedLedRepeats times RedLedTime ms.
  void RedLed(TRegConnection& terminal, LedMode mode);
  // On, off, or a blink of GreenLedRepeats times GreenLedTime ms.
  void GreenLed(TRegConnection& terminal, LedMode mode);
  // times x (on, pause, off, pause), then afterBlink. Returns at once: each
  // pause hands the event loop back (EventTimer), so other events, keys of
  // this same terminal included, run meanwhile against the record as it is.
  // The blink goes on after a pause only while the record still sends to the
  // connection it started on and that connection is open (StillConnectedTo);
  // otherwise the rest of it and afterBlink are dropped, because the terminal
  // has gone or reconnected to a fresh prompt. With times <= 0 nothing is sent
  // and afterBlink runs at once. A negative time pauses for 0 ms. The record
  // must stay where it is until the blink ends (registry records do).
  void BlinkLed(TRegConnection& terminal, Led led, int times, int milliseconds,
                AfterBlink afterBlink = {});

  // Clears the screen, shows "CRACHA:", and resets the record to the badge
  // state: State 0, Input, ShownResult, PendingError, the employee fields and
  // CardKind emptied.
  void ShowBadgePrompt(TRegConnection& terminal);
  // Clears the screen, shows the employee name on row 0 and "FICHA:" on row 1
  // with the cursor after it; empties Input, PendingError and ShownResult.
  // State is left as it is.
  void ShowCardPrompt(TRegConnection& terminal);
  // Logs "Indice Terminal: <SocketIndex> Msg: <text>", then shows the text,
  // trimmed of blanks and control characters and cut to 20, on row 3, and
  // keeps it in ShownResult.
  void ShowResult(TRegConnection& terminal, std::string_view text);

 private:
  struct Blink;
  void Send(const TRegConnection& terminal, std::string_view bytes);
  void BlinkOn(const std::shared_ptr<Blink>& blink);
  void BlinkOff(const std::shared_ptr<Blink>& blink);
  void AfterPause(const std::shared_ptr<Blink>& blink,
                  void (TerminalScreen::*next)(const std::shared_ptr<Blink>&));
  void BlinkEnded(const std::shared_ptr<Blink>& blink);

  TerminalSettings settings_;
  EventTimer& timer_;
  LogWriter writeLog_;
  // Pending blink steps hold it weakly: a step that falls due after the
  // screen has gone does nothing.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace mts
