#include "server/KeysOfRead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ServerFakes.h"

namespace mts {
namespace {

struct SplitCase {
  const char* name;
  std::string read;
  std::vector<std::string> keys;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.name;
}

class KeysOfReadTest : public testing::TestWithParam<SplitCase> {};

TEST_P(KeysOfReadTest, SplitsTheReadIntoTheKeysSent) {
  const SplitCase& c = GetParam();
  std::vector<std::string> keys;
  for (const std::string_view key : KeysOfRead(c.read)) keys.push_back(test::Printable(key));
  std::vector<std::string> expected;
  for (const std::string& key : c.keys) expected.push_back(test::Printable(key));
  EXPECT_EQ(keys, expected);
}

const std::string kNul(1, '\0');

INSTANTIATE_TEST_SUITE_P(
    Cases, KeysOfReadTest,
    testing::Values(
        SplitCase{"OneKey", "7", {"7"}},
        SplitCase{"ScannedCodeStaysWhole", "00010100010000", {"00010100010000"}},
        SplitCase{"BlanksAndHighBytesBelongToTheRun", " a\xE7\x80 ", {" a\xE7\x80 "}},
        SplitCase{"CommaStaysInItsRun", "1,", {"1,"}},
        SplitCase{"EnterAfterTheCode", "1004\r", {"1004", "\r"}},
        SplitCase{"EnterBeforeTheCode", "\r1004", {"\r", "1004"}},
        SplitCase{"TwoEntriesInOneRead",
                  "1004\r00010100010000\r",
                  {"1004", "\r", "00010100010000", "\r"}},
        SplitCase{"EveryEnterCounts", "\r\r\r", {"\r", "\r", "\r"}},
        // Backspace, delete and 00 are keys of their own wherever they stand.
        SplitCase{"Backspaces", "12\b\b3", {"12", "\b", "\b", "3"}},
        SplitCase{"DeleteBetweenText",
                  "4\x7F"
                  "5",
                  {"4", "\x7F", "5"}},
        SplitCase{"NulsBetweenText", kNul + "5" + kNul + kNul, {kNul, "5", kNul, kNul}},
        // ESC is the cancel key unless "[" or "O" follows it at once.
        SplitCase{"EscapeThenText",
                  "\x1B"
                  "1002\r",
                  {"\x1B", "1002", "\r"}},
        SplitCase{"TextThenEscape", "12\x1B", {"12", "\x1B"}},
        SplitCase{"TwoEscapes", "\x1B\x1B", {"\x1B", "\x1B"}},
        SplitCase{"EscapeThenLowerCaseO", "\x1Bo", {"\x1B", "o"}},
        SplitCase{"ArrowKey", "\x1B[A", {"\x1B[A"}}, SplitCase{"PfKey", "\x1BOP", {"\x1BOP"}},
        SplitCase{"FunctionKeyWithParameters", "\x1B[11~\x1B[1;5C", {"\x1B[11~", "\x1B[1;5C"}},
        SplitCase{"FunctionKeyThenText", "\x1B[B12\r", {"\x1B[B", "12", "\r"}},
        SplitCase{"FunctionKeyCutByTheEndOfTheRead", "\x1B[1", {"\x1B[1"}},
        SplitCase{"FunctionKeyCutByAControlKey", "\x1B[\r", {"\x1B[", "\r"}},
        SplitCase{"FunctionKeyCutByDelete", "\x1BO\x7F", {"\x1BO", "\x7F"}},
        // The other control bytes are no keys, and part runs.
        SplitCase{"LineFeedAfterEnter", "1004\r\n", {"1004", "\r"}},
        SplitCase{"FramingBytesOfAReader",
                  "\x02"
                  "1004\x03",
                  {"1004"}},
        SplitCase{"TabBetweenText", "12\t34", {"12", "34"}},
        SplitCase{"OnlyOtherControls", "\n\t\x01", {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mts
