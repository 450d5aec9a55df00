#include "routines/FoldAccents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace mts {
namespace {

struct Replacement {
  char from;
  std::string to;
};

// Every byte the terminals cannot show, with what it becomes.
const std::vector<Replacement> kTable = {
    {'\xB0', "o"}, {'\xE1', "a"}, {'\xC1', "A"}, {'\xE2', "a"}, {'\xC2', "A"}, {'\xE3', "a"},
    {'\xC3', "A"}, {'\xE0', "a"}, {'\xC0', "A"}, {'\xE9', "e"}, {'\xC9', "E"}, {'\xEA', "e"},
    {'\xCA', "E"}, {'\xED', "i"}, {'\xCD', "I"}, {'\xF3', "o"}, {'\xD3', "O"}, {'\xF5', "o"},
    {'\xD5', "O"}, {'\xF4', "o"}, {'\xD4', "O"}, {'\xFA', "u"}, {'\xDA', "U"}, {'\xFC', "u"},
    {'\xDC', "U"}, {'\xE7', "c"}, {'\xC7', "C"}, {'\xBA', "o"}, {'\xAA', "a"}, {'\xA7', "Par."},
    {'\xB4', ""},
};

void PrintTo(const Replacement& r, std::ostream* os) {
  *os << testing::PrintToString(std::string(1, r.from)) << " -> " << testing::PrintToString(r.to);
}

class FoldAccentsReplacement : public testing::TestWithParam<Replacement> {};

TEST_P(FoldAccentsReplacement, ReplacesEveryOccurrenceInPlace) {
  const auto& [from, to] = GetParam();
  EXPECT_EQ(FoldAccents(std::string(1, from)), to);
  EXPECT_EQ(FoldAccents(std::string("x") + from + "y" + from + from + "z"),
            "x" + to + "y" + to + to + "z");
}

INSTANTIATE_TEST_SUITE_P(EveryTableEntry, FoldAccentsReplacement, testing::ValuesIn(kTable));

TEST(FoldAccents, LeavesEveryOtherByteUnchanged) {
  std::string others;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const bool inTable =
        std::ranges::any_of(kTable, [c](const Replacement& r) { return r.from == c; });
    if (!inTable) others += c;
  }
  ASSERT_EQ(others.size(), 256u - kTable.size());
  EXPECT_EQ(FoldAccents(others), others);
}

struct Example {
  std::string text;
  std::string folded;
};

void PrintTo(const Example& e, std::ostream* os) {
  *os << testing::PrintToString(e.text);
}

class FoldAccentsExample : public testing::TestWithParam<Example> {};

TEST_P(FoldAccentsExample, Folds) {
  EXPECT_EQ(FoldAccents(GetParam().text), GetParam().folded);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FoldAccentsExample,
    testing::Values(
        Example{"C\xF3"
                "d. Ficha Op. Setor",
                "Cod. Ficha Op. Setor"},
        Example{"\xA7 2\xBA", "Par. 2o"}, Example{"n\xE3o localizado", "nao localizado"},
        Example{"d\xB4"
                "agua",
                "dagua"},
        Example{"", ""},
        Example{"Opera\xE7\xE3o j\xE1 lan\xE7"
                "ada no Setor: PRE-FABRICA\xC7\xC3O",
                "Operacao ja lancada no Setor: PRE-FABRICACAO"},
        // Longer and shorter replacements side by side keep their neighbours.
        Example{"\xA7\xA7\xB4\xB4\xB4\xE9", "Par.Par.e"}, Example{"\xB4\xB4", ""},
        // Accented letters outside the table pass through.
        Example{"\xE8\xEC\xF2\xF9\xF1\xE4\xEB\xEF\xF6 \xC8\xCC\xD2\xD9\xD1\xC4\xCB\xCF\xD6",
                "\xE8\xEC\xF2\xF9\xF1\xE4\xEB\xEF\xF6 \xC8\xCC\xD2\xD9\xD1\xC4\xCB\xCF\xD6"},
        // A zero byte is text like any other.
        Example{std::string("a\0\xE1", 3), std::string("a\0a", 3)}));

}  // namespace
}  // namespace mts
