#include <gtest/gtest.h>

#include <string>

#include "DataAccessTest.h"
#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

// A value written through a parameter into a column, and what the column holds
// afterwards: the database converts the parameter to the column's type.
struct StoreCase {
  std::string name;
  std::string column;
  Value written;
  Value stored;
};

void PrintTo(const StoreCase& c, std::ostream* out) {
  *out << c.column;
}

class ParameterStoreTest : public DataAccessTest,
                           public ::testing::WithParamInterface<StoreCase> {};

TEST_P(ParameterStoreTest, ValueArrivesConvertedToTheColumnType) {
  const StoreCase& c = GetParam();
  execute("insert into SAMPLE (ID, " + c.column + ") values (1, :V)", {{"V", c.written}});
  EXPECT_EQ(queryOne("select " + c.column + " from SAMPLE where ID = 1").value(c.column), c.stored);
}

const std::string kLongNote(40000, 'n');

INSTANTIATE_TEST_SUITE_P(
    Columns, ParameterStoreTest,
    ::testing::Values(
        StoreCase{"IntegerFromText", "INT_VAL", std::string("12"), std::int32_t{12}},
        StoreCase{"IntegerFromBigint", "INT_VAL", std::int64_t{7}, std::int32_t{7}},
        StoreCase{"IntegerFromDecimalRounds", "INT_VAL", Decimal{25, 1}, std::int32_t{3}},
        StoreCase{"SmallintFromInteger", "SMALL_VAL", std::int32_t{-300}, std::int32_t{-300}},
        StoreCase{"BigintFromText", "BIG_VAL", std::string("9000000000"), std::int64_t{9000000000}},
        StoreCase{"BigintFromInteger", "BIG_VAL", std::int32_t{5}, std::int64_t{5}},
        StoreCase{"VarcharFromInteger", "TEXT_VAL", std::int32_t{42}, std::string("42")},
        StoreCase{"VarcharFromDecimal", "TEXT_VAL", Decimal{1250, 2}, std::string("12.50")},
        StoreCase{"NumericRoundsAMoreExactDecimal", "MONEY_VAL", Decimal{12345, 3},
                  Decimal{1235, 2}},
        StoreCase{"NumericFromText", "MONEY_VAL", std::string("7.5"), Decimal{750, 2}},
        StoreCase{"NumericFromInteger", "MONEY_VAL", std::int32_t{3}, Decimal{300, 2}},
        StoreCase{"DecimalFromDouble", "QTY_VAL", 2.5, Decimal{2500, 3}},
        StoreCase{"DoubleFromDecimal", "DOUBLE_VAL", Decimal{15, 1}, 1.5},
        StoreCase{"DoubleFromText", "DOUBLE_VAL", std::string("2.25"), 2.25},
        StoreCase{"TimestampKeepsItsFraction", "STAMP_VAL", Timestamp{2024, 3, 5, 7, 4, 9, 1234},
                  Timestamp{2024, 3, 5, 7, 4, 9, 1234}},
        StoreCase{"TimestampFromText", "STAMP_VAL", std::string("2024-03-05 07:04:09"),
                  Timestamp{2024, 3, 5, 7, 4, 9, 0}},
        StoreCase{"DateDropsTheTimeOfDay", "DATE_VAL", Timestamp{2024, 2, 29, 13, 0, 0, 0},
                  Timestamp{2024, 2, 29}},
        StoreCase{"TimeFromATimeOfDay", "TIME_VAL", Timestamp{0, 0, 0, 13, 14, 15, 0},
                  Timestamp{0, 0, 0, 13, 14, 15, 0}},
        StoreCase{"TimeFromATimestamp", "TIME_VAL", Timestamp{2024, 3, 5, 13, 14, 15, 0},
                  Timestamp{0, 0, 0, 13, 14, 15, 0}},
        StoreCase{"CharIsPadded", "CHAR_VAL", std::string("ab"), std::string("ab   ")},
        StoreCase{"BlobTextFromText", "NOTE_VAL", std::string("short note"),
                  std::string("short note")},
        StoreCase{"BlobTextLongerThanAVarchar", "NOTE_VAL", kLongNote, kLongNote},
        StoreCase{"NullText", "TEXT_VAL", Null{}, Null{}},
        StoreCase{"NullNumeric", "MONEY_VAL", Null{}, Null{}},
        StoreCase{"NullTimestamp", "STAMP_VAL", Null{}, Null{}}),
    [](const auto& info) { return info.param.name; });

// A value the column cannot take, and a piece of the message that says why.
struct RefusedCase {
  std::string name;
  std::string column;
  Value written;
  std::string message;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
  *out << c.column << ": " << c.message;
}

class ParameterRefusedTest : public DataAccessTest,
                             public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(ParameterRefusedTest, FailsWithTheReason) {
  const RefusedCase& c = GetParam();
  try {
    execute("insert into SAMPLE (ID, " + c.column + ") values (1, :V)", {{"V", c.written}});
    FAIL() << "the insert succeeded";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    EXPECT_FALSE(error.connectionLost());
  }
  EXPECT_EQ(count("SAMPLE"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ParameterRefusedTest,
    ::testing::Values(
        RefusedCase{"IntegerFromLetters", "INT_VAL", std::string("abc"),
                    "conversion error from string \"abc\""},
        RefusedCase{"TextTooLongForTheColumn", "SHORT_TEXT", std::string("toolong"),
                    "string right truncation"},
        RefusedCase{"SmallintOverflow", "SMALL_VAL", std::int32_t{70000}, "numeric overflow"},
        RefusedCase{"NoSuchDate", "STAMP_VAL", Timestamp{2023, 2, 29},
                    "Invalid date/time value for parameter 'V'"},
        RefusedCase{"TimestampWithoutADate", "STAMP_VAL", Timestamp{0, 0, 0, 8, 0, 0, 0},
                    "has a time of day but no date"},
        RefusedCase{"DateWithoutADate", "DATE_VAL", Timestamp{}, "has a time of day but no date"},
        RefusedCase{"DecimalScaleTooLarge", "MONEY_VAL", Decimal{1, 19},
                    "Invalid decimal scale for parameter 'V'"}),
    [](const auto& info) { return info.param.name; });

class TextBytesTest : public DataAccessTest {};

TEST_F(TextBytesTest, EveryWindows1252ByteRoundTripsUnchanged) {
  std::string bytes;
  for (int b = 1; b <= 255; ++b) bytes += static_cast<char>(b);
  insert("SAMPLE", {{"ID", 1}, {"TEXT_VAL", bytes}, {"NOTE_VAL", bytes}});

  const Row row =
      queryOne("select TEXT_VAL, NOTE_VAL from SAMPLE where TEXT_VAL = :T", {{"T", bytes}});
  EXPECT_EQ(row.text("TEXT_VAL"), bytes);
  EXPECT_EQ(row.text("NOTE_VAL"), bytes);
}

TEST_F(TextBytesTest, CharKeepsItsPaddingAndComparesWithoutIt) {
  insert("SAMPLE", {{"ID", 1},
                    {"CHAR_VAL",
                     "\xC7"
                     "a"},
                    {"SHORT_TEXT", "ab "}});
  const Row row = queryOne("select CHAR_VAL, SHORT_TEXT from SAMPLE where CHAR_VAL = :C", {{"C",
                                                                                            "\xC7"
                                                                                            "a"}});
  EXPECT_EQ(row.text("CHAR_VAL"),
            "\xC7"
            "a   ");
  EXPECT_EQ(row.text("SHORT_TEXT"), "ab ");  // VARCHAR keeps exactly what was stored
}

}  // namespace
}  // namespace mts::db
