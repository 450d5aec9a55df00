#include "mtterm/TerminalScreen.h"

#include <algorithm>

namespace mts::termsim {

TerminalScreen::TerminalScreen() {
  cells_.fill(' ');
}

void TerminalScreen::clear() {
  cells_.fill(' ');
  position_ = 0;
}

void TerminalScreen::moveTo(int row, int column) {
  setPosition(static_cast<long long>(std::max(row, 0)) * kColumns + std::max(column, 0));
}

void TerminalScreen::put(char byte) {
  if (position_ < kCells) cells_[position_] = byte;
  setPosition(static_cast<long long>(position_) + 1);
}

void TerminalScreen::backspace() {
  setPosition(static_cast<long long>(position_) - 1);
}

void TerminalScreen::carriageReturn() {
  position_ -= position_ % kColumns;
}

void TerminalScreen::lineFeed() {
  setPosition(static_cast<long long>(position_) + kColumns);
}

void TerminalScreen::eraseToEnd() {
  blank(position_, kCells);
}

void TerminalScreen::eraseToCursor() {
  blank(0, position_ + 1);
}

void TerminalScreen::eraseToEndOfLine() {
  blank(position_, position_ - position_ % kColumns + kColumns);
}

void TerminalScreen::eraseLineToCursor() {
  blank(position_ - position_ % kColumns, position_ + 1);
}

void TerminalScreen::eraseLine() {
  const int start = position_ - position_ % kColumns;
  blank(start, start + kColumns);
}

void TerminalScreen::setLed(Led led, bool on) {
  (led == Led::Red ? redLed_ : greenLed_) = on;
}

std::string TerminalScreen::row(int index) const {
  return std::string(cells_.begin() + index * kColumns, cells_.begin() + (index + 1) * kColumns);
}

std::string TerminalScreen::text() const {
  return std::string(cells_.begin(), cells_.end());
}

void TerminalScreen::setPosition(long long position) {
  position_ = static_cast<int>(std::clamp<long long>(position, 0, kMaxPosition));
}

void TerminalScreen::blank(int from, int to) {
  from = std::clamp(from, 0, kCells);
  to = std::clamp(to, 0, kCells);
  for (int i = from; i < to; ++i) cells_[i] = ' ';
}

}  // namespace mts::termsim
