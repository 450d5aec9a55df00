// How index keys order and match field values.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "dataaccess/datasets/DatasetValues.h"

namespace mts {
namespace {

using db::Decimal;
using db::Null;
using db::Timestamp;
using db::Value;

struct MatchCase {
  Value field;
  Value key;
  bool matches;
};

TEST(DatasetValues, KeyIsTakenAsTheFieldsKind) {
  const MatchCase cases[] = {
      {std::string("0042"), std::string("0042"), true},
      {std::string("0042"), std::string("0042 "), false},  // trailing blanks count
      {std::string("ab"), std::string("AB"), false},       // letter case counts
      {std::string("12"), std::int32_t{12}, true},         // number as its text
      {std::string("012"), std::int32_t{12}, false},
      {std::int32_t{12}, std::string("12"), true},  // text read as a number
      {std::int32_t{12}, std::string("012"), true},
      {std::int32_t{12}, std::string("12a"), false},
      {std::int32_t{12}, std::int64_t{12}, true},
      {Decimal{1250, 2}, 12.5, true},
      {Decimal{1200, 2}, std::int32_t{12}, true},
      {std::int32_t{12}, std::int32_t{13}, false},
      {Null{}, Null{}, true},
      {Null{}, std::string(""), false},
      {std::string(""), Null{}, false},
      {Timestamp{2024, 5, 6, 7, 8, 9, 0}, Timestamp{2024, 5, 6, 7, 8, 9, 0}, true},
      {Timestamp{2024, 5, 6, 7, 8, 9, 0}, Timestamp{2024, 5, 6, 7, 8, 10, 0}, false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(dataset_values::matchesKey(cases[i].field, cases[i].key), cases[i].matches)
        << "case " << i;
  }
}

TEST(DatasetValues, OrderPutsNullsFirstAndComparesNumbersByValue) {
  EXPECT_LT(dataset_values::compare(Null{}, std::int32_t{-5}), 0);
  EXPECT_LT(dataset_values::compare(Null{}, std::string("")), 0);
  EXPECT_EQ(dataset_values::compare(Null{}, Null{}), 0);
  EXPECT_LT(dataset_values::compare(std::int32_t{9}, std::int64_t{10}), 0);
  EXPECT_LT(dataset_values::compare(Decimal{95, 1}, std::int32_t{10}), 0);
  EXPECT_GT(dataset_values::compare(2.5, Decimal{249, 2}), 0);
  EXPECT_EQ(dataset_values::compare(Decimal{100, 2}, std::int32_t{1}), 0);
  EXPECT_LT(dataset_values::compare(std::string("B"), std::string("a")), 0) << "byte order";
  EXPECT_LT(dataset_values::compare(std::string("z"), std::string("\xE1")), 0)
      << "bytes above 0x7F sort after ASCII";
  EXPECT_LT(dataset_values::compare(Timestamp{2024, 1, 1}, Timestamp{2024, 1, 2}), 0);
}

}  // namespace
}  // namespace mts
