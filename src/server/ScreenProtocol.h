#pragma once

#include <string>
#include <string_view>

namespace mts {

// The two screen dialects the terminals speak; one is chosen for the whole server.
enum class ScreenDialect {
  Vt100,   // escape sequences, 1-based rows and columns
  StxEtx,  // commands framed by STX and ETX, 0-based rows and columns
};

enum class Led { Red, Green };

// Byte producers for every command the server sends to a terminal. They do no
// I/O: each returns the exact bytes of one command (Windows-1252 text).
namespace screen {

// Width of the display for cursor positioning and line blanking.
inline constexpr int kScreenWidth = 20;
// Cut of a text write: 20 characters, or 40 on the wide (44-key) keyboard.
inline constexpr std::size_t kTextCut = 20;
inline constexpr std::size_t kWideTextCut = 40;
// Cut of a long text write (the error detail), whatever the keyboard.
inline constexpr std::size_t kLongTextCut = 80;

std::string ClearScreenCommand(ScreenDialect dialect);

// Cursor to a 0-based row and column. A column past the display width moves
// the position down to the following rows (the wrap rule); numbers are written
// with at least two digits. Negative rows and columns are taken as 0.
std::string CursorCommand(ScreenDialect dialect, int row, int column);

// One write of the text as given (no cut): unframed in VT-100, STX "D" ... ETX.
std::string WriteCommand(ScreenDialect dialect, std::string_view text);
// One write of the first 20 characters of the text, or the first 40 when
// wideKeyboard is set.
std::string WriteTextCommand(ScreenDialect dialect, bool wideKeyboard, std::string_view text);
// One write of the first 80 characters of the text.
std::string WriteLongTextCommand(ScreenDialect dialect, std::string_view text);

// LED on/off: the same bytes in both dialects.
std::string LedCommand(Led led, bool on);

// Echo of a received key unit: the bytes themselves, unframed in both dialects.
std::string KeyEcho(std::string_view unit);
// Echo of an accepted backspace: BS, blank, BS in both dialects.
std::string BackspaceEcho();

}  // namespace screen
}  // namespace mts
