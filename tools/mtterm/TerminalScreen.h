#pragma once

#include <array>
#include <string>

namespace mts::termsim {

// The display and LEDs of one micro terminal: 4 rows of 20 Windows-1252 characters, a
// cursor, a red and a green LED.
//
// The cursor is one position counted along the rows (row * 20 + column), so text that
// runs past column 20 continues at the start of the next row, as it does on the 4x20
// terminals; a cursor placed at a column past 20 lands on a later row the same way, and
// a backspace at the start of a row goes back to the end of the row above. Characters at
// positions past the last row are dropped, but the cursor still moves, so a backspace
// can bring it back onto the display. Nothing scrolls.
class TerminalScreen {
 public:
  static constexpr int kRows = 4;
  static constexpr int kColumns = 20;

  enum class Led { Red, Green };

  TerminalScreen();

  // Blanks every cell and puts the cursor home; LEDs keep their state.
  void clear();
  // Moves the cursor to a 0-based row and column; a column of 20 or more wraps into the
  // rows below. Negative values count as 0.
  void moveTo(int row, int column);
  // Writes one character at the cursor and advances the cursor by one.
  void put(char byte);
  // Moves the cursor back one position; it stays put at row 0, column 0.
  void backspace();
  // Moves the cursor to column 0 of its row.
  void carriageReturn();
  // Moves the cursor down one row, keeping the column.
  void lineFeed();
  // Blanks the cells from the cursor to the end of the display.
  void eraseToEnd();
  // Blanks the cells from the start of the display up to and including the cursor.
  void eraseToCursor();
  // Blanks the cells from the cursor to the end of its row.
  void eraseToEndOfLine();
  // Blanks the cells from the start of the cursor's row up to and including the cursor.
  void eraseLineToCursor();
  // Blanks the cursor's row.
  void eraseLine();
  void setLed(Led led, bool on);

  // The 20 bytes of a row (0-based, 0 to 3).
  std::string row(int index) const;
  // All 80 cells, row after row.
  std::string text() const;
  int cursorRow() const { return position_ / kColumns; }
  int cursorColumn() const { return position_ % kColumns; }
  bool cursorOnDisplay() const { return position_ < kCells; }
  bool ledOn(Led led) const { return led == Led::Red ? redLed_ : greenLed_; }

 private:
  static constexpr int kCells = kRows * kColumns;
  // Keeps far-away cursor positions (row 9999 and beyond) from overflowing.
  static constexpr int kMaxPosition = 1'000'000;

  void setPosition(long long position);
  void blank(int from, int to);

  std::array<char, kCells> cells_{};
  int position_ = 0;
  bool redLed_ = false;
  bool greenLed_ = false;
};

}  // namespace mts::termsim
