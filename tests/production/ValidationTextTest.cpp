#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "production/validation/ValidationText.h"

namespace mts {
namespace {

TEST(ValidationText, EmployeeSuffixOnlyForAKnownName) {
  EXPECT_EQ(withEmployee("A ficha principal j\xE1 foi baixada", "ANA"),
            "A ficha principal j\xE1 foi baixada Func: ANA");
  EXPECT_EQ(withEmployee("Ficha.", ""), "Ficha.");
}

TEST(ValidationText, SectorUpdateTypeAcceptsItsKindOrEveryKindWithN) {
  struct Case {
    std::string sectorType, kind;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"N", "F", true},  {"N", "T", true}, {"F", "F", true}, {"S", "S", true},
      {"F", "S", false}, {"", "F", false}, {"", "", false},  {"f", "F", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.sectorType + "' / '" + c.kind + "'");
    EXPECT_EQ(sectorAcceptsKind(c.sectorType, c.kind), c.accepted);
  }
}

TEST(ValidationText, DelimitedSectorListsSplitOnCommasAndBlanks) {
  struct Case {
    std::string text;
    std::vector<std::string> items;
  };
  const std::vector<Case> cases = {
      {"01,02", {"01", "02"}},  {"01, 02", {"01", "02"}},
      {"01 02", {"01", "02"}},  {"01,,02", {"01", "", "02"}},
      {"01,", {"01", ""}},      {"\"0 1\",02", {"0 1", "02"}},
      {"\"a\"\"b\"", {"a\"b"}}, {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(splitDelimitedSectors(c.text), c.items);
  }
}

TEST(ValidationText, PreviousSectorsKeepOnlyProductSectorsWhenTheProductHasAList) {
  struct Case {
    std::string raw;
    std::vector<std::string> product;
    std::string kept;
  };
  const std::vector<Case> cases = {
      {"01,02,03", {}, "01,02,03"},
      {"01, 02,,03 ", {}, "01, 02,,03 "},  // no list: untouched, blanks and all
      {"01, 02,,03 ", {"01", "02", "03"}, "01,02,03"},
      {"03,01", {"01", "03"}, "03,01"},  // list order, not product order
      {"01,02", {"05"}, ""},
      {"", {"01"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.raw + "'");
    EXPECT_EQ(keepProductSectors(c.raw, c.product), c.kept);
  }
}

TEST(ValidationText, TakingSectorsOffAListKeepsBlanksAndEmptyCodes) {
  std::string list = "01, 02,,03";
  std::vector<std::string> taken;
  while (!list.empty()) taken.push_back(takeFirstSector(list));
  EXPECT_EQ(taken, (std::vector<std::string>{"01", " 02", "", "03"}));
}

TEST(ValidationText, DayMonthTimeIsZeroPadded) {
  EXPECT_EQ(formatDayMonthTime({2024, 3, 7, 8, 5, 59, 0}), "07/03 08:05");
  EXPECT_EQ(formatDayMonthTime({2024, 12, 25, 23, 45, 0, 0}), "25/12 23:45");
}

}  // namespace
}  // namespace mts
