#include "mtterm/ScreenText.h"

#include "mtterm/VisibleText.h"

namespace mts::termsim {

std::string formatSnapshot(const TerminalScreen& screen) {
  std::string out;
  for (int row = 0; row < TerminalScreen::kRows; ++row) {
    out += '|' + visibleUtf8(screen.row(row)) + "|\n";
  }
  auto state = [&](TerminalScreen::Led led) { return screen.ledOn(led) ? "on" : "off"; };
  out += std::string("LED red=") + state(TerminalScreen::Led::Red) +
         " green=" + state(TerminalScreen::Led::Green) + "\n";
  out += "CURSOR row=" + std::to_string(screen.cursorRow()) +
         " col=" + std::to_string(screen.cursorColumn()) + "\n";
  return out;
}

bool screenShows(const TerminalScreen& screen, std::string_view text) {
  return screen.text().find(text) != std::string::npos;
}

}  // namespace mts::termsim
