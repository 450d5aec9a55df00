#include "dataaccess/firebird/SingleRowInsert.h"

#include <gtest/gtest.h>

namespace mts::db {
namespace {

struct Case {
  const char* sql;
  bool oneRow;
};

TEST(SingleRowInsertTest, OnlyAnInsertThatNamesItsRowIsKnownToInsertOne) {
  const Case cases[] = {
      {"insert into T (A, B) values (:A, :B)", true},
      {"INSERT INTO T VALUES (1)", true},
      {"  -- a note\n  insert into T default values", true},
      {"insert into T (A) values ((select max(A) + 1 from T))", true},
      {"insert into T (A) values (:A) returning A", true},
      {"insert into T (A) select A from U", false},
      {"insert into T (\"VALUES\") select 'values' from U /* values */", false},
      {"insert into T (A) select A from U where B in (values_of(1))", false},
      {"update or insert into T (A) values (1) matching (A)", false},
      {"update T set A = 1", false},
      {"delete from T", false},
      {"merge into T using U on T.A = U.A when not matched then insert values (U.A)", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(insertsOneRow(c.sql), c.oneRow) << c.sql;
  }
}

}  // namespace
}  // namespace mts::db
