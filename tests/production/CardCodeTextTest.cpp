#include "production/CardCodeText.h"

#include <gtest/gtest.h>

#include <string>

#include "production/DateTimeText.h"

namespace mts {
namespace {

struct FieldCase {
  std::string code;
  std::int32_t position;
  std::int32_t length;
  std::string expected;
};

class CutCodeField : public testing::TestWithParam<FieldCase> {};

TEST_P(CutCodeField, FollowsPositionAndLength) {
  const FieldCase& c = GetParam();
  EXPECT_EQ(cutCodeField(c.code, c.position, c.length), c.expected)
      << '"' << c.code << "\" at " << c.position << " length " << c.length;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CutCodeField,
    testing::Values(FieldCase{"0012340056", 1, 6, "001234"}, FieldCase{"0012340056", 7, 2, "00"},
                    FieldCase{"0012340056", 9, 2, "56"},
                    // too short for the field: nothing at all, not a partial field
                    FieldCase{"00123", 1, 6, ""}, FieldCase{"0012340056", 9, 3, ""},
                    // a position below 1 counts as 1 and the field stops at the end
                    FieldCase{"12345", 0, 6, "12345"}, FieldCase{"12345", -3, 4, "1234"},
                    // zero or negative lengths give nothing
                    FieldCase{"12345", 2, 0, ""}, FieldCase{"12345", 2, -1, ""},
                    FieldCase{"", 0, 0, ""}, FieldCase{"", 1, 0, ""}));

TEST(NormaliseSubCard, ZerosMeanNoneShortValuesArePadded) {
  for (const char* none : {"", "0", "00", "000", "0000"}) {
    EXPECT_EQ(normaliseSubCard(none), "0000") << '"' << none << '"';
  }
  EXPECT_EQ(normaliseSubCard("1"), "0001");
  EXPECT_EQ(normaliseSubCard("12"), "0012");
  EXPECT_EQ(normaliseSubCard(" 1"), "00 1");
  EXPECT_EQ(normaliseSubCard("0012"), "0012");
  EXPECT_EQ(normaliseSubCard("00000"), "00000");
  EXPECT_EQ(normaliseSubCard("12345"), "12345");
}

TEST(NormaliseProgramme, SemicolonsBecomeSlashesAndLettersUpperCase) {
  EXPECT_EQ(normaliseProgramme("12;3ab"), "12/3AB");
  EXPECT_EQ(normaliseProgramme(";;"), "//");
  // Only ASCII letters change: Windows-1252 "\xE7" stays as it is.
  EXPECT_EQ(normaliseProgramme("a\xE7z"), "A\xE7Z");
}

TEST(CutCardCode, IsTwentyEightAndTenDigits) {
  EXPECT_EQ(cutCardCode(123), "280000000123");
  EXPECT_EQ(cutCardCode(0), "280000000000");
  EXPECT_EQ(cutCardCode(2147483647), "282147483647");
  EXPECT_EQ(cutCardCode(-5), "-280000000005");
}

TEST(SectorListContains, MatchesTrimmedItemsExactly) {
  EXPECT_FALSE(sectorListContains("", "01"));
  EXPECT_FALSE(sectorListContains("", ""));
  EXPECT_TRUE(sectorListContains("01,02", "02"));
  EXPECT_TRUE(sectorListContains("01, 02 ,\t03", "03"));
  EXPECT_TRUE(sectorListContains("01\r\n02", "02"));
  EXPECT_FALSE(sectorListContains("01,,02", ""));
  EXPECT_FALSE(sectorListContains("010,02", "01"));
  EXPECT_FALSE(sectorListContains("AB", "ab"));
}

TEST(BlankText, SpacesAndControlCharactersOnly) {
  EXPECT_TRUE(isBlankText(""));
  EXPECT_TRUE(isBlankText(" \t\r\n"));
  EXPECT_FALSE(isBlankText(" 1 "));
}

TEST(DateTimeText, FixedSeparatorsAndTwoDigitFields) {
  EXPECT_EQ(formatDateTime({2024, 3, 7, 8, 5, 9, 1234}), "07/03/2024 08:05:09");
  EXPECT_FALSE(isAfterYear2000Start({}));
  EXPECT_FALSE(isAfterYear2000Start({2000, 1, 1, 0, 0, 0, 0}));
  EXPECT_TRUE(isAfterYear2000Start({2000, 1, 1, 0, 0, 0, 1}));
  EXPECT_TRUE(isAfterYear2000Start({2000, 1, 1, 0, 0, 1, 0}));
}

}  // namespace
}  // namespace mts
