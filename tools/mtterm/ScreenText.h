#pragma once

#include <string>
#include <string_view>

#include "mtterm/TerminalScreen.h"

namespace mts::termsim {

// The screen in a stable text form, UTF-8, every line ended by "\n":
//   |CRACHA:             |      four rows of exactly 20 characters between bars
//   |                    |
//   |                    |
//   |                    |
//   LED red=off green=on
//   CURSOR row=0 col=7          0-based; a row of 4 or more is past the display
std::string formatSnapshot(const TerminalScreen& screen);

// Whether `text` (Windows-1252) appears on the display: within a row, or running on from
// the end of one row into the next, as wrapped text does.
bool screenShows(const TerminalScreen& screen, std::string_view text);

}  // namespace mts::termsim
