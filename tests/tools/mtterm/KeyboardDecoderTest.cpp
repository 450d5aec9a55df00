#include "mtterm/KeyboardDecoder.h"

#include <gtest/gtest.h>

namespace mts::termsim {

void PrintTo(const KeyAction& action, std::ostream* out) {
  if (action.kind == KeyAction::Kind::Quit) {
    *out << "Quit";
    return;
  }
  *out << "Send(";
  for (unsigned char c : action.bytes) *out << "\\x" << std::hex << int(c) << std::dec;
  *out << ")";
}

namespace {

KeyAction send(std::string bytes) {
  return {KeyAction::Kind::Send, std::move(bytes)};
}
const KeyAction kQuit{KeyAction::Kind::Quit, {}};

struct Case {
  const char* name;
  std::vector<std::string> reads;  // console reads; "" stands for a quiet moment (flush)
  std::vector<KeyAction> actions;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << c.name;
}

class KeyboardTable : public ::testing::TestWithParam<Case> {};

TEST_P(KeyboardTable, PcKeysBecomeTerminalKeys) {
  KeyboardDecoder decoder;
  std::vector<KeyAction> actions;
  for (const auto& read : GetParam().reads) {
    const auto more = read.empty() ? decoder.flush() : decoder.feed(read);
    actions.insert(actions.end(), more.begin(), more.end());
  }
  EXPECT_EQ(actions, GetParam().actions);
}

const Case kCases[] = {
    {"PrintableKeysAsTyped", {"12a,."}, {send("1"), send("2"), send("a"), send(","), send(".")}},
    {"EnterEitherWay", {"\r", "\n"}, {send("\r"), send("\r")}},
    {"BackspaceEitherWay", {"\x7F", "\x08"}, {send("\b"), send("\b")}},
    {"CtrlRRedraws", {"\x12"}, {send(std::string(1, '\0'))}},
    {"CtrlCAndCtrlQQuit", {"1\x03", "\x11"}, {send("1"), kQuit, kQuit}},
    {"OtherControlKeysIgnored", {"\t\x01\x1A"}, {}},
    {"LoneEscIsCancelOnceQuiet", {"\x1B", ""}, {send("\x1B")}},
    {"LoneEscWaitsForTheQuiet", {"\x1B"}, {}},
    {"EscThenKeyIsCancelThenKey",
     {"\x1B"
      "1"},
     {send("\x1B"), send("1")}},
    {"DeleteKeyIsDel", {"\x1B[3~"}, {send("\x7F")}},
    {"DeleteKeySplitAcrossReads", {"\x1B", "[3", "~"}, {send("\x7F")}},
    {"ArrowAndFunctionKeysIgnored", {"\x1B[A\x1BOP\x1B[15~\x1B[1;5C", "5"}, {send("5")}},
    {"AccentedLetterToWindows1252", {"\xC3\xA7\xE2\x82\xAC"}, {send("\xE7"), send("\x80")}},
    {"AccentedLetterSplitAcrossReads", {"\xC3", "\xA7"}, {send("\xE7")}},
    {"CharacterWindows1252LacksIgnored",
     {"\xE2\x98\x83"
      "1"},
     {send("1")}},
    {"BrokenUtf8Dropped",
     {"\xC3"
      "1"},
     {send("1")}},
};

INSTANTIATE_TEST_SUITE_P(Keyboard, KeyboardTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mts::termsim
