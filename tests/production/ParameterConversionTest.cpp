#include "production/ParameterConversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace mts {
namespace {

struct IntegerCase {
  std::string text;
  std::int32_t expected;
};

class IntegerFromText : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerFromText, ReadsTheLeadingNumber) {
  EXPECT_EQ(integerFromText(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerFromText,
    testing::Values(
        // plain, missing and partial values
        IntegerCase{"7", 7}, IntegerCase{"", 0}, IntegerCase{" 7", 7}, IntegerCase{"   12", 12},
        IntegerCase{"7a", 7}, IntegerCase{"a7", 0}, IntegerCase{"7 ", 7}, IntegerCase{"12.5", 12},
        IntegerCase{"007", 7}, IntegerCase{" ", 0}, IntegerCase{"\t7", 0},
        // signs: the minus counts only when the whole text converts
        IntegerCase{"+7", 7}, IntegerCase{"-7", -7}, IntegerCase{"-7a", 7}, IntegerCase{"-7 ", 7},
        IntegerCase{" -7", -7}, IntegerCase{"-", 0}, IntegerCase{"+-7", 0}, IntegerCase{"- 7", 0},
        // hexadecimal prefixes
        IntegerCase{"$1F", 31}, IntegerCase{"x1F", 31}, IntegerCase{"X1f", 31},
        IntegerCase{"0x1F", 31}, IntegerCase{"0X1F", 31}, IntegerCase{"-$1F", -31},
        IntegerCase{"$1FG", 31}, IntegerCase{"-$1FG", 31}, IntegerCase{"$", 0},
        IntegerCase{"0x", 0}, IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"1F", 1},
        // the 32-bit range
        IntegerCase{"2147483647", 2147483647}, IntegerCase{"-2147483648", INT32_MIN},
        IntegerCase{"2147483648", 0}, IntegerCase{"-2147483648a", 0}, IntegerCase{"9999999999", 0},
        IntegerCase{"0000000123", 123}, IntegerCase{"$100000000", 0}));

TEST(FlagFromText, OnlyAnUpperCaseSIsOn) {
  EXPECT_TRUE(flagFromText("S"));
  for (const char* off : {"", "s", " S", "S ", "SIM", "N", "1"}) {
    EXPECT_FALSE(flagFromText(off)) << '"' << off << '"';
  }
}

}  // namespace
}  // namespace mts
