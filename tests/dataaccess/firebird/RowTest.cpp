#include "dataaccess/firebird/ResultSet.h"

#include <gtest/gtest.h>

#include <optional>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

Row rowOf(Value value) {
  auto columns = std::make_shared<const std::vector<std::string>>(std::vector<std::string>{"COL"});
  return Row(columns, {std::move(value)});
}

struct ReaderCase {
  std::string name;
  Value value;
  std::string text;
  std::optional<std::int64_t> integer;  // nullopt: integer() throws
  std::optional<double> number;         // nullopt: number() throws
};

void PrintTo(const ReaderCase& c, std::ostream* out) {
  *out << c.name;
}

class RowReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(RowReaderTest, ConvertsLikeAReportReader) {
  const ReaderCase& c = GetParam();
  const Row row = rowOf(c.value);
  EXPECT_EQ(row.text("col"), c.text);
  if (c.integer) {
    EXPECT_EQ(row.bigint("COL"), *c.integer);
  } else {
    EXPECT_THROW(row.bigint("COL"), DatabaseError);
  }
  if (c.number) {
    EXPECT_DOUBLE_EQ(row.number("Col"), *c.number);
  } else {
    EXPECT_THROW(row.number("COL"), DatabaseError);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, RowReaderTest,
    ::testing::Values(ReaderCase{"Null", Null{}, "", 0, 0.0},
                      ReaderCase{"NegativeInteger", std::int32_t{-12}, "-12", -12, -12.0},
                      ReaderCase{"Bigint", std::int64_t{9000000000}, "9000000000", 9000000000, 9e9},
                      ReaderCase{"Double", 3.5, "3.5", 3, 3.5},
                      ReaderCase{"NegativeDoubleTruncates", -3.99, "-3.99", -3, -3.99},
                      ReaderCase{"DecimalDropsTrailingZeros", Decimal{1250, 2}, "12.5", 12, 12.5},
                      ReaderCase{"NegativeDecimal", Decimal{-1999, 3}, "-1.999", -1, -1.999},
                      ReaderCase{"SmallDecimal", Decimal{5, 3}, "0.005", 0, 0.005},
                      ReaderCase{"WholeDecimal", Decimal{1200, 2}, "12", 12, 12.0},
                      ReaderCase{"PaddedLetters", std::string("AB  "), "AB  ", std::nullopt,
                                 std::nullopt},
                      ReaderCase{"PaddedDigits", std::string(" 42 "), " 42 ", 42, 42.0},
                      ReaderCase{"DecimalText", std::string("2.5"), "2.5", std::nullopt, 2.5},
                      ReaderCase{"EmptyText", std::string(""), "", std::nullopt, std::nullopt},
                      ReaderCase{"Timestamp", Timestamp{2024, 3, 5, 7, 4, 9, 1234},
                                 "05/03/2024 07:04:09", std::nullopt, std::nullopt},
                      ReaderCase{"TimeOfDay", Timestamp{0, 0, 0, 13, 14, 15, 0}, "13:14:15",
                                 std::nullopt, std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(RowTest, IntegerRefusesValuesBeyond32Bits) {
  EXPECT_EQ(rowOf(std::int64_t{2147483647}).integer("COL"), 2147483647);
  EXPECT_THROW(rowOf(std::int64_t{2147483648}).integer("COL"), DatabaseError);
}

TEST(RowTest, TimestampReadsOnlyTimestamps) {
  const Timestamp t{2024, 2, 29, 23, 59, 59, 9999};
  EXPECT_EQ(rowOf(t).timestamp("COL"), t);
  EXPECT_THROW(rowOf(Null{}).timestamp("COL"), DatabaseError);
  EXPECT_THROW(rowOf(std::string("29/02/2024")).timestamp("COL"), DatabaseError);
}

TEST(RowTest, UnknownColumnErrorNamesTheColumn) {
  const Row row = rowOf(1);
  EXPECT_TRUE(row.has("col"));
  EXPECT_FALSE(row.has("OTHER"));
  try {
    row.text("OTHER");
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("OTHER"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace mts::db
