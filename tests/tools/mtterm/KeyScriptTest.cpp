#include "mtterm/KeyScript.h"

#include <gtest/gtest.h>

namespace mts::termsim {

void PrintTo(const KeyStep& step, std::ostream* out) {
  static const char* const kinds[] = {"Send", "Pause", "Show", "WaitFor"};
  *out << kinds[static_cast<int>(step.kind)] << "(";
  for (unsigned char c : step.bytes) *out << "\\x" << std::hex << int(c) << std::dec;
  *out << ", " << step.milliseconds << ")";
}

namespace {

KeyStep key(std::string bytes) {
  return {KeyStep::Kind::Send, std::move(bytes), 0};
}
KeyStep pause(int ms) {
  return {KeyStep::Kind::Pause, {}, ms};
}
KeyStep show() {
  return {KeyStep::Kind::Show, {}, 0};
}
KeyStep waitFor(std::string text) {
  return {KeyStep::Kind::WaitFor, std::move(text), 0};
}

struct Valid {
  const char* script;
  std::vector<KeyStep> steps;
};

class ValidScripts : public ::testing::TestWithParam<Valid> {};

TEST_P(ValidScripts, BecomeTheirSteps) {
  std::vector<KeyStep> steps;
  std::string error;
  ASSERT_TRUE(parseKeyScript(GetParam().script, steps, error)) << error;
  EXPECT_EQ(steps, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(
    KeyScript, ValidScripts,
    ::testing::Values(Valid{"", {}},
                      // Every character is a key of its own, "," included.
                      Valid{"12,a", {key("1"), key("2"), key(","), key("a")}},
                      Valid{"1{enter}{ESC}{cancel}{del}{bs}{BackSpace}{nul}",
                            {key("1"), key("\r"), key("\x1B"), key("\x1B"), key("\x7F"), key("\b"),
                             key("\b"), key(std::string(1, '\0'))}},
                      Valid{"{wait:0}{wait:1500}{show}", {pause(0), pause(1500), show()}},
                      // Arguments keep their blanks and punctuation and end at the first "}".
                      Valid{"{wait-for:FICHA:}{wait-for:NAO ATUALIZADA}",
                            {waitFor("FICHA:"), waitFor("NAO ATUALIZADA")}},
                      Valid{
                          "{send:.1.0042}{hex:31 32 0d}{hex:00}{scan:1004}",
                          {key(".1.0042"), key("12\r"), key(std::string(1, '\0')), key("1004\r")}},
                      // UTF-8 on the command line, Windows-1252 on the wire.
                      Valid{"\xC3\xA7{send:S\xC3\x83O}{wait-for:\xE2\x82\xAC}",
                            {key("\xE7"), key("S\xC3O"), waitFor("\x80")}},
                      Valid{"{{}", {key("{"), key("}")}}));

struct Invalid {
  const char* script;
  const char* messagePart;
};

class InvalidScripts : public ::testing::TestWithParam<Invalid> {};

TEST_P(InvalidScripts, AreRefusedWithThePlace) {
  std::vector<KeyStep> steps{key("left over")};
  std::string error;
  EXPECT_FALSE(parseKeyScript(GetParam().script, steps, error));
  EXPECT_NE(error.find(GetParam().messagePart), std::string::npos) << error;
  EXPECT_TRUE(steps.empty());
}

INSTANTIATE_TEST_SUITE_P(
    KeyScript, InvalidScripts,
    ::testing::Values(Invalid{"12{enter", "position 3"}, Invalid{"1{entr}", "unknown {entr}"},
                      Invalid{"{enter:1}", "unknown"}, Invalid{"{show:x}", "unknown"},
                      Invalid{"{wait}", "{wait:MS}"}, Invalid{"{wait:-1}", "{wait:MS}"},
                      Invalid{"{wait:12x}", "{wait:MS}"},
                      Invalid{"{wait:99999999999}", "{wait:MS}"}, Invalid{"{hex:3}", "hex digits"},
                      Invalid{"{hex:zz}", "hex digits"}, Invalid{"{hex:}", "hex digits"},
                      Invalid{"{wait-for:}", "{wait-for:TEXT}"},
                      Invalid{"{send:\xE2\x98\x83}", "{send:TEXT}"},
                      Invalid{"{scan:}", "{scan:TEXT}"},
                      Invalid{"12\n", "position 3: control character"},
                      Invalid{"1\xE2\x98\x83", "position 2"}, Invalid{"\xC3", "position 1"}));

}  // namespace
}  // namespace mts::termsim
