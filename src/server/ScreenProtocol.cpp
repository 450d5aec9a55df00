#include "server/ScreenProtocol.h"

#include <algorithm>

#include "routines/Windows1252Text.h"

namespace mts::screen {

namespace {

constexpr char kEsc = '\x1B';
constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';

// Decimal with at least two digits: "07", "20", "100".
std::string TwoDigits(long long value) {
  std::string digits = std::to_string(value);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return digits;
}

struct WirePosition {
  long long row;
  long long column;
};

// A column value past the display width moves the position down one row per
// 20 columns: row grows by ceil(k / 20) - 1, k becomes ((k - 1) mod 20) + 1.
WirePosition Wrap(long long row, long long column) {
  if (column > kScreenWidth) {
    row += (column + kScreenWidth - 1) / kScreenWidth - 1;
    column = (column - 1) % kScreenWidth + 1;
  }
  return {row, column};
}

}  // namespace

std::string ClearScreenCommand(ScreenDialect dialect) {
  if (dialect == ScreenDialect::StxEtx) return {kStx, 'L', kEtx};
  return {kEsc, '[', 'H', kEsc, '[', 'J'};
}

std::string CursorCommand(ScreenDialect dialect, int row, int column) {
  // Long long keeps the 1-based shift and the wrap free of overflow.
  const long long r = std::max(row, 0);
  const long long c = std::max(column, 0);
  if (dialect == ScreenDialect::StxEtx) {
    const WirePosition p = Wrap(r, c);
    return std::string{kStx, 'C'} + TwoDigits(p.row) + TwoDigits(p.column) + kEtx;
  }
  const WirePosition p = Wrap(r + 1, c + 1);
  return std::string{kEsc, '['} + TwoDigits(p.row) + ';' + TwoDigits(p.column) + 'H';
}

std::string WriteCommand(ScreenDialect dialect, std::string_view text) {
  if (dialect == ScreenDialect::StxEtx) {
    std::string bytes{kStx, 'D'};
    bytes.append(text);
    bytes.push_back(kEtx);
    return bytes;
  }
  return std::string(text);
}

std::string WriteTextCommand(ScreenDialect dialect, bool wideKeyboard, std::string_view text) {
  return WriteCommand(dialect, mts::text::FirstChars(text, wideKeyboard ? kWideTextCut : kTextCut));
}

std::string WriteLongTextCommand(ScreenDialect dialect, std::string_view text) {
  return WriteCommand(dialect, mts::text::FirstChars(text, kLongTextCut));
}

std::string LedCommand(Led led, bool on) {
  return {kEsc, '[', 'l', led == Led::Red ? 'r' : 'g', on ? 'l' : 'b'};
}

std::string KeyEcho(std::string_view unit) {
  return std::string(unit);
}

std::string BackspaceEcho() {
  return {'\x08', ' ', '\x08'};
}

}  // namespace mts::screen
