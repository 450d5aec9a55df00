#include "mtterm/ProtocolInterpreter.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "mtterm/ScreenText.h"

namespace mts::termsim {
namespace {

using Rows = std::array<std::string, 4>;

// What the display must look like after a byte stream.
struct Expected {
  Rows rows;
  int cursorRow = 0;
  int cursorColumn = 0;
  bool red = false;
  bool green = false;
  std::size_t unrecognised = 0;
};

struct Case {
  const char* name;
  Dialect dialect;
  std::vector<std::string> reads;  // the stream, as it arrives read by read
  Expected expected;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << c.name;
}

std::string pad(std::string row) {
  row.resize(TerminalScreen::kColumns, ' ');
  return row;
}

const std::string kEsc = "\x1B";
const std::string kBsEcho = "\x08 \x08";
std::string stx(const std::string& body) {
  return "\x02" + body + "\x03";
}

const std::string kVtClear = kEsc + "[H" + kEsc + "[J";
const std::string kStxClear = stx("L");

class InterpreterTable : public ::testing::TestWithParam<Case> {};

TEST_P(InterpreterTable, DisplayAndLedsFollowTheStream) {
  const Case& c = GetParam();
  ProtocolInterpreter interpreter(c.dialect);
  for (const auto& read : c.reads) interpreter.feed(read);

  const TerminalScreen& screen = interpreter.screen();
  for (int row = 0; row < TerminalScreen::kRows; ++row) {
    EXPECT_EQ(screen.row(row), pad(c.expected.rows[row])) << "row " << row;
  }
  EXPECT_EQ(screen.cursorRow(), c.expected.cursorRow);
  EXPECT_EQ(screen.cursorColumn(), c.expected.cursorColumn);
  EXPECT_EQ(screen.ledOn(TerminalScreen::Led::Red), c.expected.red);
  EXPECT_EQ(screen.ledOn(TerminalScreen::Led::Green), c.expected.green);
  EXPECT_EQ(interpreter.unrecognisedCount(), c.expected.unrecognised);
}

const Case kVt100Cases[] = {
    {"BadgePrompt",
     Dialect::Vt100,
     {kVtClear + kEsc + "[01;01H" + kEsc + "[01;01HCRACHA:"},
     {{"CRACHA:"}, 0, 7}},
    {"ClearBlanksEverythingAndHomes",
     Dialect::Vt100,
     {kEsc + "[02;05HABC" + kEsc + "[04;01HXYZ" + kVtClear},
     {{}, 0, 0}},
    {"EraseDisplayTwoKeepsTheCursor",
     Dialect::Vt100,
     {"ABC" + kEsc + "[03;04H" + kEsc + "[2J"},
     {{}, 2, 3}},
    {"EraseToEndOfLine",
     Dialect::Vt100,
     {"ABCDEF" + kEsc + "[02;01HGHI" + kEsc + "[01;03H" + kEsc + "[K"},
     {{"AB", "GHI"}, 0, 2}},
    {"CursorIsOneBasedOnTheWire",
     Dialect::Vt100,
     {kEsc + "[02;07HX" + kEsc + "[04;20HY"},
     {{"", "      X", "", "                   Y"}, 4, 0}},
    {"MissingAndZeroNumbersMeanOne",
     Dialect::Vt100,
     {"ABC" + kEsc + "[0;0HX" + kEsc + "[;2HY" + kEsc + "[HZ"},
     {{"ZYC"}, 0, 1}},
    {"TextPastColumnTwentyWrapsToTheNextRow",
     Dialect::Vt100,
     {kEsc + "[01;15HABCDEFGHIJ"},
     {{"              ABCDEF", "GHIJ"}, 1, 4}},
    {"ColumnPastTwentyLandsOnTheNextRow",
     Dialect::Vt100,
     {kEsc + "[01;21HX" + kEsc + "[02;40HY"},
     {{"", "X", "                   Y"}, 3, 0}},
    {"TextPastTheLastRowIsDropped",
     Dialect::Vt100,
     {kEsc + "[04;18HABCDE"},
     {{"", "", "", "                 ABC"}, 4, 2}},
    {"ThreeDigitRowIsPastTheDisplay",
     Dialect::Vt100,
     {kEsc + "[101;01HLOST" + kEsc + "[04;01HSEEN"},
     {{"", "", "", "SEEN"}, 3, 4}},
    {"BackspaceEchoErasesTheLastKey",
     Dialect::Vt100,
     {"CRACHA:12" + kBsEcho},
     {{"CRACHA:1"}, 0, 8}},
    {"BackspaceAtRowStartGoesToTheRowAbove",
     Dialect::Vt100,
     {kEsc + "[02;01H\x08Z"},
     {{"                   Z"}, 1, 0}},
    {"BackspaceAtHomeStaysHome", Dialect::Vt100, {"\x08\x08X"}, {{"X"}, 0, 1}},
    {"CarriageReturnAndLineFeed", Dialect::Vt100, {"ABC\rX\nY"}, {{"XBC", " Y"}, 1, 2}},
    {"LedsSwitchWithoutTouchingTheDisplay",
     Dialect::Vt100,
     {"AB" + kEsc + "[lrl" + kEsc + "[lgl" + kEsc + "[lrb" + "C"},
     {{"ABC"}, 0, 3, false, true}},
    {"GreenBlinkEndsDark",
     Dialect::Vt100,
     {kEsc + "[lgl" + kEsc + "[01;01H" + kEsc + "[lgb" + kEsc + "[01;01H"},
     {{}, 0, 0, false, false}},
    {"Windows1252BytesAreCharacters", Dialect::Vt100, {"A\xC7\xE3\x80"}, {{"A\xC7\xE3\x80"}, 0, 4}},
    {"KeyEchoOfSeveralCharacters", Dialect::Vt100, {"FICHA:.1.0042"}, {{"FICHA:.1.0042"}, 0, 13}},
    {"UnknownControlBytesAreIgnored",
     Dialect::Vt100,
     {std::string("A\x07\x00"
                  "B\x02L\x03",
                  7)},
     {{"ABL"}, 0, 3, false, false, 4}},
    {"UnknownSequencesAreSkippedWhole",
     Dialect::Vt100,
     {"A" + kEsc + "[?25h" + kEsc + "[5m" + kEsc + "xB" + kEsc + "[lzC" + kEsc + "[lrqD"},
     {{"ABCD"}, 0, 4, false, false, 5}},
    {"EscapeInsideASequenceStartsAfresh",
     Dialect::Vt100,
     {kEsc + "[02" + kEsc + "[lrlX"},
     {{"X"}, 0, 1, true, false, 1}},
    {"EndlessNumbersAreGivenUp",
     Dialect::Vt100,
     {kEsc + "[" + std::string(200, '9') + "HX"},
     {{"X"}, 0, 1, false, false, 1}},
};

const Case kStxEtxCases[] = {
    {"BadgePrompt",
     Dialect::StxEtx,
     {kStxClear + stx("C0000") + stx("C0000") + stx("DCRACHA:")},
     {{"CRACHA:"}, 0, 7}},
    {"ClearBlanksEverythingAndHomes",
     Dialect::StxEtx,
     {stx("C0104") + stx("DABC") + kStxClear},
     {{}, 0, 0}},
    {"CursorIsZeroBasedOnTheWire",
     Dialect::StxEtx,
     {stx("C0106") + stx("DFICHA")},
     {{"", "      FICHA"}, 1, 11}},
    {"ColumnTwentyLandsOnTheNextRow",
     Dialect::StxEtx,
     {stx("C0020") + "X" + stx("C0201") + "Y"},
     {{"", "X", " Y"}, 2, 2}},
    {"ThreeDigitRowIsPastTheDisplay",
     Dialect::StxEtx,
     {stx("C10005") + stx("DLOST") + stx("C0300") + stx("DSEEN")},
     {{"", "", "", "SEEN"}, 3, 4}},
    {"LongTextWrapsAndIsCutAtTheEnd",
     Dialect::StxEtx,
     {stx("C0300") + stx("D" + std::string(25, 'A'))},
     {{"", "", "", std::string(20, 'A')}, 4, 5}},
    {"EchoesAndLedsAreUnframed",
     Dialect::StxEtx,
     {stx("C0106") + "12" + kBsEcho + "3" + kEsc + "[lrl"},
     {{"", "      13"}, 1, 8, true, false}},
    {"TextOfTwentyBlanksBlanksALine",
     Dialect::StxEtx,
     {stx("C0300") + stx("DFICHA NAO ATUALIZADA") + stx("C0300") + stx("D" + std::string(20, ' '))},
     {{}, 4, 0}},
    {"VtCommandsAreNotUnderstood",
     Dialect::StxEtx,
     {"AB" + kEsc + "[H" + kEsc + "[J" + kEsc + "[02;07HC"},
     {{"ABC"}, 0, 3, false, false, 3}},
    {"BadFramesAreSkipped",
     Dialect::StxEtx,
     {stx("X") + stx("C12") + stx("C01A2") + stx("") + stx("L0") + "A"},
     {{"A"}, 0, 1, false, false, 5}},
    {"NewFrameBeforeTheEndDropsTheOldOne",
     Dialect::StxEtx,
     {"\x02"
      "DAB" +
      stx("DCD")},
     {{"CD"}, 0, 2, false, false, 1}},
    {"ControlBytesInsideTextAreIgnored",
     Dialect::StxEtx,
     {stx("DA\x07"
          "B")},
     {{"AB"}, 0, 2, false, false, 1}},
    {"EndlessFrameIsSkippedToItsEnd",
     Dialect::StxEtx,
     {stx("D" + std::string(5000, 'X')) + "A"},
     {{"A"}, 0, 1, false, false, 1}},
    {"StrayEtxIsIgnored",
     Dialect::StxEtx,
     {"A\x03"
      "B"},
     {{"AB"}, 0, 2, false, false, 1}},
};

INSTANTIATE_TEST_SUITE_P(Vt100, InterpreterTable, ::testing::ValuesIn(kVt100Cases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(StxEtx, InterpreterTable, ::testing::ValuesIn(kStxEtxCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A whole session's stream must give the same display however the reads cut it.
struct Session {
  const char* name;
  Dialect dialect;
  std::string stream;
};

std::ostream& operator<<(std::ostream& out, const Session& s) {
  return out << s.name;
}

class SplitReads : public ::testing::TestWithParam<Session> {};

std::string outcome(const ProtocolInterpreter& interpreter) {
  return formatSnapshot(interpreter.screen()) + "unrecognised " +
         std::to_string(interpreter.unrecognisedCount());
}

TEST_P(SplitReads, EveryCutGivesTheSameDisplay) {
  const Session& s = GetParam();
  ProtocolInterpreter whole(s.dialect);
  whole.feed(s.stream);
  const std::string expected = outcome(whole);

  for (std::size_t cut = 1; cut < s.stream.size(); ++cut) {
    ProtocolInterpreter split(s.dialect);
    split.feed(s.stream.substr(0, cut));
    split.feed(s.stream.substr(cut));
    ASSERT_EQ(outcome(split), expected) << "cut after byte " << cut;
  }
  ProtocolInterpreter byteByByte(s.dialect);
  for (char byte : s.stream) byteByByte.feed(std::string(1, byte));
  EXPECT_EQ(outcome(byteByByte), expected);
}

// Refused badge, then a card prompt with a result: every kind of command, and one
// unknown sequence so that recovery is cut too.
const Session kSessions[] = {
    {"Vt100", Dialect::Vt100,
     kVtClear + kEsc + "[01;01HCRACHA:" + "1234" + kBsEcho + kEsc + "[lrl" + kEsc + "[01;01H" +
         kEsc + "[04;01H" + std::string(20, ' ') + kEsc + "[04;01HFUNC. NAO" + kEsc + "[?25h" +
         kEsc + "[101;01HX" + kEsc + "[lrb" + kEsc + "[lgl" + kVtClear + "JOSE" + kEsc +
         "[02;01HFICHA:" + kEsc + "[02;07H.1.\xC7"},
    {"StxEtx", Dialect::StxEtx,
     kStxClear + stx("C0000") + stx("DCRACHA:") + "1234" + kBsEcho + kEsc + "[lrl" + stx("C0000") +
         stx("C0300") + stx("D" + std::string(20, ' ')) + stx("C0300") + stx("DFUNC. NAO") +
         stx("Q9") + stx("C10000") + "X" + kEsc + "[lrb" + kEsc + "[lgl" + kStxClear +
         stx("DJOSE") + stx("C0100") + stx("DFICHA:") + stx("C0106") + ".1.\xC7"},
};

INSTANTIATE_TEST_SUITE_P(Sessions, SplitReads, ::testing::ValuesIn(kSessions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mts::termsim
