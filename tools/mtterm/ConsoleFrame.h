#pragma once

#include <string>
#include <string_view>

#include "mtterm/TerminalScreen.h"

namespace mts::termsim {

// Draws the simulated terminal on an ANSI console (UTF-8): a title line, the 4x20 display
// in a box, the two LEDs ("[R]" / "[G]" in colour when lit, "[ ]" when dark) and a key
// reminder, then leaves the console cursor where the terminal's cursor is (hidden when it
// is past the display). Starts from the console's home position and overwrites what was
// drawn before.
std::string drawConsoleFrame(const TerminalScreen& screen, std::string_view title,
                             std::string_view status);

}  // namespace mts::termsim
