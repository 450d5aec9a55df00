#include "server/ScreenProtocol.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::Hex;

constexpr auto kVt = ScreenDialect::Vt100;
constexpr auto kStx = ScreenDialect::StxEtx;

struct CursorCase {
  ScreenDialect dialect;
  int row;
  int column;
  std::string expected;
};

void PrintTo(const CursorCase& c, std::ostream* os) {
  *os << (c.dialect == kVt ? "Vt100" : "StxEtx") << " row " << c.row << " column " << c.column;
}

class CursorCommandTest : public testing::TestWithParam<CursorCase> {};

TEST_P(CursorCommandTest, WritesRowAndColumnAfterTheWrapRule) {
  const CursorCase& c = GetParam();
  EXPECT_EQ(screen::CursorCommand(c.dialect, c.row, c.column), c.expected)
      << "row " << c.row << ", column " << c.column;
}

INSTANTIATE_TEST_SUITE_P(
    BothDialects, CursorCommandTest,
    testing::Values(
        // The reference bytes of the two dialects.
        CursorCase{kVt, 0, 0, Hex("1B 5B 30 31 3B 30 31 48")},
        CursorCase{kStx, 0, 0, Hex("02 43 30 30 30 30 03")},
        CursorCase{kVt, 1, 6, Hex("1B 5B 30 32 3B 30 37 48")},
        CursorCase{kStx, 1, 6, Hex("02 43 30 31 30 36 03")},
        // Column 20 wraps in VT-100 (1-based 21) but not in STX-ETX.
        CursorCase{kVt, 0, 20, Hex("1B 5B 30 32 3B 30 31 48")},
        CursorCase{kStx, 0, 20, Hex("02 43 30 30 32 30 03")},
        // Column 21 wraps in both.
        CursorCase{kVt, 1, 21, Hex("1B 5B 30 33 3B 30 32 48")},
        CursorCase{kStx, 1, 21, Hex("02 43 30 32 30 31 03")},
        // The last column before a wrap, and wraps over several rows.
        CursorCase{kVt, 0, 19, "\x1B[01;20H"}, CursorCase{kVt, 0, 39, "\x1B[02;20H"},
        CursorCase{kVt, 0, 40, "\x1B[03;01H"},
        CursorCase{kStx, 0, 40,
                   "\x02"
                   "C0120\x03"},
        CursorCase{kStx, 0, 41,
                   "\x02"
                   "C0201\x03"},
        CursorCase{kVt, 2, 1000, "\x1B[53;01H"},
        // Three digits from 100 on, also when the wrap makes the row reach 100.
        CursorCase{kVt, 99, 0, "\x1B[100;01H"}, CursorCase{kVt, 98, 20, "\x1B[100;01H"},
        CursorCase{kStx, 100, 3,
                   "\x02"
                   "C10003\x03"},
        CursorCase{kStx, 99, 25,
                   "\x02"
                   "C10005\x03"},
        // A negative position is taken as the home position, never as "-1".
        CursorCase{kVt, -1, -5, "\x1B[01;01H"},
        CursorCase{kStx, -3, -1,
                   "\x02"
                   "C0000\x03"}));

TEST(ScreenCommandsTest, ClearScreenDiffersByDialect) {
  EXPECT_EQ(screen::ClearScreenCommand(kVt), Hex("1B 5B 48 1B 5B 4A"));
  EXPECT_EQ(screen::ClearScreenCommand(kStx), Hex("02 4C 03"));
}

TEST(ScreenCommandsTest, WriteIsUnframedInVt100AndFramedInStxEtx) {
  EXPECT_EQ(screen::WriteCommand(kVt, "FICHA:"), Hex("46 49 43 48 41 3A"));
  EXPECT_EQ(screen::WriteCommand(kStx, "FICHA:"), Hex("02 44 46 49 43 48 41 3A 03"));
  // Windows-1252 bytes pass through untouched.
  EXPECT_EQ(screen::WriteCommand(kStx, "S\xC3O"),
            "\x02"
            "DS\xC3O\x03");
}

struct CutCase {
  bool wideKeyboard;
  std::size_t textLength;
  std::size_t writtenLength;
};

void PrintTo(const CutCase& c, std::ostream* os) {
  *os << (c.wideKeyboard ? "wide" : "narrow") << " keyboard, " << c.textLength << " characters";
}

class WriteTextCutTest : public testing::TestWithParam<CutCase> {};

TEST_P(WriteTextCutTest, CutsAt20OrAt40OnTheWideKeyboard) {
  const CutCase& c = GetParam();
  std::string text;
  for (std::size_t i = 0; i < c.textLength; ++i) text.push_back(static_cast<char>('A' + i % 26));
  const std::string written = text.substr(0, c.writtenLength);

  EXPECT_EQ(screen::WriteTextCommand(kVt, c.wideKeyboard, text), written);
  EXPECT_EQ(screen::WriteTextCommand(kStx, c.wideKeyboard, text),
            "\x02"
            "D" +
                written + "\x03");
}

INSTANTIATE_TEST_SUITE_P(KeyboardTypes, WriteTextCutTest,
                         testing::Values(CutCase{false, 25, 20}, CutCase{true, 25, 25},
                                         CutCase{false, 20, 20}, CutCase{true, 45, 40},
                                         CutCase{false, 0, 0}));

TEST(ScreenCommandsTest, LongTextCutsAt80InBothDialects) {
  const std::string text = std::string(80, 'X') + std::string(20, 'Y');
  EXPECT_EQ(screen::WriteLongTextCommand(kVt, text), std::string(80, 'X'));
  EXPECT_EQ(screen::WriteLongTextCommand(kStx, text),
            "\x02"
            "D" +
                std::string(80, 'X') + "\x03");
}

TEST(ScreenCommandsTest, LedCommands) {
  EXPECT_EQ(screen::LedCommand(Led::Red, true), Hex("1B 5B 6C 72 6C"));
  EXPECT_EQ(screen::LedCommand(Led::Red, false), Hex("1B 5B 6C 72 62"));
  EXPECT_EQ(screen::LedCommand(Led::Green, true), Hex("1B 5B 6C 67 6C"));
  EXPECT_EQ(screen::LedCommand(Led::Green, false), Hex("1B 5B 6C 67 62"));
}

TEST(ScreenCommandsTest, Echoes) {
  EXPECT_EQ(screen::KeyEcho("A"), "A");
  EXPECT_EQ(screen::KeyEcho("123\r"), "123\r");
  EXPECT_EQ(screen::BackspaceEcho(), Hex("08 20 08"));
}

}  // namespace
}  // namespace mts
