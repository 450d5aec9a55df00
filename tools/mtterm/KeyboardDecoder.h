#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mts::termsim {

// What a press of a PC key means for the simulated terminal.
struct KeyAction {
  enum class Kind { Send, Quit };
  Kind kind = Kind::Send;
  std::string bytes;  // Send: the terminal key's bytes

  bool operator==(const KeyAction&) const = default;
};

// Maps the bytes a console in raw mode delivers (UTF-8, with escape sequences for special
// keys) to the keys of a micro terminal:
//   Enter (CR or LF)          CR, the terminal's Enter
//   Backspace (DEL or BS)     BS
//   Esc                       ESC, cancel
//   Delete (ESC [3~)          DEL, also cancel
//   Ctrl-R                    byte 00, redraw
//   Ctrl-C, Ctrl-Q            quit the simulator
//   other characters          their Windows-1252 byte
// Arrow and function keys, other control keys and characters Windows-1252 lacks are
// ignored.
//
// A lone ESC cannot be told from the start of a special key's sequence until the next
// bytes come; the decoder keeps it pending, and the caller calls flush() when the console
// stays quiet for a moment, which turns it into the Esc key.
class KeyboardDecoder {
 public:
  std::vector<KeyAction> feed(std::string_view input);
  std::vector<KeyAction> flush();
  bool hasPending() const { return !pending_.empty(); }

 private:
  void step(char byte, std::vector<KeyAction>& actions);
  void plain(char byte, std::vector<KeyAction>& actions);
  void finishSequence(std::vector<KeyAction>& actions);

  std::string pending_;  // an unfinished escape sequence or UTF-8 character
};

}  // namespace mts::termsim
