#include "dataaccess/PositionalSql.h"

#include <gtest/gtest.h>

#include "dataaccess/DatabaseError.h"

namespace mts::db {
namespace {

struct Case {
  const char* sql;
  const char* text;
  std::vector<std::string> names;
};

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
        Case{"select 1 from rdb$database", "select 1 from rdb$database", {}},
        Case{"where PROG_PR=:PROG and FICHA_PR=:ficha",
             "where PROG_PR=? and FICHA_PR=?",
             {"PROG", "FICHA"}},
        Case{"where S.SETOR_AGRUP_SE = :SETOR or COD_SE = :Setor",
             "where S.SETOR_AGRUP_SE = ? or COD_SE = ?",
             {"SETOR", "SETOR"}},
        Case{"values (:ID_FS$1, :_X2)", "values (?, ?)", {"ID_FS$1", "_X2"}},
        Case{"where A = ':NOT' and B = 'it''s :NOT' and C = :YES",
             "where A = ':NOT' and B = 'it''s :NOT' and C = ?",
             {"YES"}},
        Case{"select \"odd :NAME\" from T where X = :X",
             "select \"odd :NAME\" from T where X = ?",
             {"X"}},
        Case{"select 1 -- :A in a comment\nfrom T where B = :B",
             "select 1 -- :A in a comment\nfrom T where B = ?",
             {"B"}},
        Case{"select /* :A\n :B */ 1 from T where C = :C",
             "select /* :A\n :B */ 1 from T where C = ?",
             {"C"}},
        Case{"where A = q'{:A ' }' and B = :B", "where A = q'{:A ' }' and B = ?", {"B"}},
        Case{"select cast('now' as TIMESTAMP) as DATA_HORA from CONFIG",
             "select cast('now' as TIMESTAMP) as DATA_HORA from CONFIG",
             {}},
        Case{"where A = :1 or B = : C", "where A = :1 or B = : C", {}},
        Case{"select 'unterminated :A", "select 'unterminated :A", {}}));

TEST(PositionalSqlErrors, RejectsUnnamedMarkers) {
  EXPECT_THROW(toPositional("select * from T where A = ?"), DatabaseError);
  EXPECT_NO_THROW(toPositional("select '?' from T"));
}

}  // namespace
}  // namespace mts::db
