#include "dataaccess/firebird/PositionalSql.h"

#include <gtest/gtest.h>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

struct Case {
  const char* name;
  const char* sql;
  const char* text;
  std::vector<std::string> names;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class PositionalSqlTest : public ::testing::TestWithParam<Case> {};

TEST_P(PositionalSqlTest, TurnsNamesIntoMarkersOutsideLiteralsAndComments) {
  const Case& c = GetParam();
  const PositionalSql result = toPositional(c.sql);
  EXPECT_EQ(result.text, c.text);
  EXPECT_EQ(result.names, c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PositionalSqlTest,
    ::testing::Values(
        Case{"NoParameters", "select 1 from rdb$database", "select 1 from rdb$database", {}},
        Case{"TwoNames",
             "where PROG_PR=:PROG and FICHA_PR=:ficha",
             "where PROG_PR=? and FICHA_PR=?",
             {"PROG", "FICHA"}},
        Case{"SameNameTwiceAnyCase",
             "where S.SETOR_AGRUP_SE = :SETOR or COD_SE = :Setor",
             "where S.SETOR_AGRUP_SE = ? or COD_SE = ?",
             {"SETOR", "SETOR"}},
        Case{"NamesWithDigitsDollarUnderscore",
             "values (:ID_FS$1, :_X2)",
             "values (?, ?)",
             {"ID_FS$1", "_X2"}},
        Case{"StringLiterals",
             "where A = ':NOT' and B = 'it''s :NOT' and C = :YES",
             "where A = ':NOT' and B = 'it''s :NOT' and C = ?",
             {"YES"}},
        Case{"QuotedIdentifier",
             "select \"odd :NAME\" from T where X = :X",
             "select \"odd :NAME\" from T where X = ?",
             {"X"}},
        Case{"LineComment",
             "select 1 -- :A in a comment\nfrom T where B = :B",
             "select 1 -- :A in a comment\nfrom T where B = ?",
             {"B"}},
        Case{"BlockComment",
             "select /* :A\n :B */ 1 from T where C = :C",
             "select /* :A\n :B */ 1 from T where C = ?",
             {"C"}},
        Case{"AlternativeQuoting",
             "where A = q'{:A ' }' and B = :B",
             "where A = q'{:A ' }' and B = ?",
             {"B"}},
        Case{"CastOfALiteral",
             "select cast('now' as TIMESTAMP) as DATA_HORA from CONFIG",
             "select cast('now' as TIMESTAMP) as DATA_HORA from CONFIG",
             {}},
        Case{"ColonWithoutAName", "where A = :1 or B = : C", "where A = :1 or B = : C", {}},
        Case{"UnterminatedLiteral", "select 'unterminated :A", "select 'unterminated :A", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PositionalSqlErrors, RejectsUnnamedMarkers) {
  EXPECT_THROW(toPositional("select * from T where A = ?"), DatabaseError);
  EXPECT_NO_THROW(toPositional("select '?' from T"));
}

}  // namespace
}  // namespace mts::db
