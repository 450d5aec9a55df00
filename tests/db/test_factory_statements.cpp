// Every statement the server sends must prepare on a database made from
// db/schema.sql: a table or column missing, a type that cannot be compared, an
// ambiguous column name in a join all fail here, one test per statement.

#include <gtest/gtest.h>

#include "StatementFile.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "support/FactoryDatabaseTest.h"

namespace mts::schematest {
namespace {

// One database for all statements: preparing changes nothing.
class FactoryStatementPrepares : public mts::test::FactoryDatabaseTest,
                                 public ::testing::WithParamInterface<FactoryStatement> {};

TEST_P(FactoryStatementPrepares, OnAFreshSchema) {
  const FactoryStatement& statement = GetParam();
  try {
    connection().prepare(statement.sql);
  } catch (const mts::db::DatabaseError& error) {
    FAIL() << statement.name << " does not prepare:\n" << error.what() << "\n\n" << statement.sql;
  }
}

INSTANTIATE_TEST_SUITE_P(Server, FactoryStatementPrepares,
                         ::testing::ValuesIn(readFactoryStatements(MTS_FACTORY_STATEMENTS)),
                         [](const auto& info) { return info.param.testName; });

}  // namespace
}  // namespace mts::schematest
