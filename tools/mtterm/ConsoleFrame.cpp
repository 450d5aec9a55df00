#include "mtterm/ConsoleFrame.h"

#include "mtterm/VisibleText.h"

namespace mts::termsim {
namespace {

constexpr std::string_view kHome = "\x1B[H";
constexpr std::string_view kEndLine = "\x1B[K\r\n";  // clear what an older frame left
constexpr std::string_view kClearBelow = "\x1B[J";
constexpr std::string_view kShowCursor = "\x1B[?25h";
constexpr std::string_view kHideCursor = "\x1B[?25l";
// Rows of the console above the first display row: the title and the top of the box.
constexpr int kFirstDisplayLine = 3;

std::string horizontal(std::string_view left, std::string_view right) {
  std::string line(left);
  for (int i = 0; i < TerminalScreen::kColumns; ++i) line += "\u2500";
  return line += right;
}

std::string led(bool lit, std::string_view label, std::string_view colour) {
  if (!lit) return "[ ]";
  return "\x1B[1;" + std::string(colour) + "m[" + std::string(label) + "]\x1B[0m";
}

}  // namespace

std::string drawConsoleFrame(const TerminalScreen& screen, std::string_view title,
                             std::string_view status) {
  std::string out(kHideCursor);
  out += kHome;
  out += title;
  out += kEndLine;
  out += horizontal("\u250C", "\u2510");
  out += kEndLine;
  for (int row = 0; row < TerminalScreen::kRows; ++row) {
    out += "\u2502" + visibleUtf8(screen.row(row)) + "\u2502";
    out += kEndLine;
  }
  out += horizontal("\u2514", "\u2518");
  out += kEndLine;
  out += " red " + led(screen.ledOn(TerminalScreen::Led::Red), "R", "31") + "   green " +
         led(screen.ledOn(TerminalScreen::Led::Green), "G", "32");
  out += kEndLine;
  out += status;
  out += kEndLine;
  out += kClearBelow;
  if (screen.cursorOnDisplay()) {
    out += "\x1B[" + std::to_string(kFirstDisplayLine + screen.cursorRow()) + ";" +
           std::to_string(2 + screen.cursorColumn()) + "H";
    out += kShowCursor;
  }
  return out;
}

}  // namespace mts::termsim
