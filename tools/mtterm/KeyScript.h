#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mts::termsim {

// One step of a scripted session.
struct KeyStep {
  enum class Kind {
    Send,     // send `bytes` in one write (one key, or one unit of several), then settle
    Pause,    // let `milliseconds` pass, taking in whatever the server sends meanwhile
    Show,     // print the screen as it is now
    WaitFor,  // wait until the screen shows `bytes` (Windows-1252), then settle
  };
  Kind kind = Kind::Send;
  std::string bytes;
  int milliseconds = 0;

  bool operator==(const KeyStep&) const = default;
};

// Reads a key script (UTF-8, as typed on the command line):
//   any character        that key, as its Windows-1252 byte ("{{" is the key "{")
//   {enter}              CR, the terminal's Enter key
//   {esc} or {cancel}    ESC, cancel
//   {del}                DEL, also cancel
//   {bs} or {backspace}  BS
//   {nul}                byte 00, redraw
//   {send:TEXT}          TEXT in one write, as a barcode reader delivers a code
//   {scan:TEXT}          TEXT and CR in one write, as a reader set to end each code
//                        with Enter delivers it
//   {hex:31 32 0D}       the bytes given in hex, in one write (blanks between are allowed)
//   {wait:MS}            a pause of MS milliseconds
//   {wait-for:TEXT}      wait until the screen shows TEXT
//   {show}               print the screen at that point
// Names are case-insensitive; an argument ends at the first "}". Control characters are
// refused in plain text (write {enter} or {hex:..}). Returns false and a message naming
// the position (1-based, in bytes) when the script is not valid.
bool parseKeyScript(std::string_view script, std::vector<KeyStep>& steps, std::string& error);

}  // namespace mts::termsim
