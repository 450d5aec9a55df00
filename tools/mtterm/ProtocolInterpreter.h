#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "mtterm/Dialect.h"
#include "mtterm/TerminalScreen.h"

namespace mts::termsim {

// Turns the bytes a server sends into changes of a terminal's display and LEDs.
//
// Streaming: feed() takes the bytes of each read as they come, and a command split across
// reads is carried over in the interpreter's state. Understood in both dialects: plain
// text written at the cursor, BS (one position back), CR (column 0), LF (one row down)
// and the LED commands ESC "[l" followed by "r" or "g" (red, green) and "l" or "b" (lit,
// dark). VT-100 adds ESC "[" row ";" column "H" (1-based; "f" too), ESC "[" n "J" and
// ESC "[" n "K" (erase display / line, n = 0, 1 or 2). STX-ETX adds the frames STX "L"
// ETX (clear, cursor home), STX "C" row column ETX (0-based; the column is the last two
// digits, the row all digits before them) and STX "D" text ETX. A frame acts when its ETX
// arrives.
//
// Anything else (other control bytes, unknown or malformed sequences and frames, and the
// other dialect's commands) changes nothing and is counted as unrecognised. When a byte
// breaks a sequence, a printable one is taken as part of the broken sequence (ESC "x" is
// a whole, unknown sequence), and a control byte is read afresh, so an ESC, STX, BS, CR
// or LF that interrupts a sequence still acts.
class ProtocolInterpreter {
 public:
  explicit ProtocolInterpreter(Dialect dialect);

  void feed(std::string_view bytes);

  const TerminalScreen& screen() const { return screen_; }
  Dialect dialect() const { return dialect_; }
  // How many bytes or sequences were not understood so far.
  std::size_t unrecognisedCount() const { return unrecognisedCount_; }
  // The bytes of the latest thing not understood.
  const std::string& lastUnrecognised() const { return lastUnrecognised_; }

 private:
  enum class State { Ground, Escape, Csi, LedColour, LedLevel, Frame };

  void step(char byte);
  void ground(char byte);
  void escape(char byte);
  void csi(char byte);
  void ledColour(char byte);
  void ledLevel(char byte);
  void frame(char byte);

  void runCsi(char final);
  void runFrame();
  void writeText(std::string_view text);
  // Drops the sequence collected so far as unrecognised.
  void abandon();
  // The same, for a sequence broken by `byte`: a printable byte goes with the sequence, a
  // control byte is read again from the ground state.
  void abandonBrokenBy(char byte);
  void unrecognised(std::string_view bytes);

  Dialect dialect_;
  TerminalScreen screen_;
  State state_ = State::Ground;
  std::string sequence_;    // bytes of the sequence or frame being read, its leader included
  bool malformed_ = false;  // the sequence or frame being read can only be skipped
  char ledColour_ = 0;
  std::size_t unrecognisedCount_ = 0;
  std::string lastUnrecognised_;
};

}  // namespace mts::termsim
