// Every statement the server sends must prepare on a database made from
// db/schema.sql: a table or column missing, a type that cannot be compared, an
// ambiguous column name in a join all fail here, one test per statement.

#include <gtest/gtest.h>

#include <memory>

#include "ScratchDatabase.h"
#include "StatementFile.h"
#include "dataaccess/Connection.h"
#include "dataaccess/DatabaseError.h"

namespace mts::schematest {
namespace {

class FactoryStatementPrepares : public ::testing::TestWithParam<FactoryStatement> {
 protected:
  static void SetUpTestSuite() {
    database_ = std::make_unique<ScratchDatabase>(DatabaseContent::Schema);
    connection_ = std::make_unique<mts::db::Connection>(database_->settings());
  }
  static void TearDownTestSuite() {
    connection_.reset();
    database_.reset();
  }

  static inline std::unique_ptr<ScratchDatabase> database_;
  static inline std::unique_ptr<mts::db::Connection> connection_;
};

TEST_P(FactoryStatementPrepares, OnAFreshSchema) {
  ASSERT_NE(connection_, nullptr) << "the schema database could not be made";
  const FactoryStatement& statement = GetParam();
  try {
    connection_->prepare(statement.sql);
  } catch (const mts::db::DatabaseError& error) {
    FAIL() << statement.name << " does not prepare:\n" << error.what() << "\n\n" << statement.sql;
  }
}

INSTANTIATE_TEST_SUITE_P(Server, FactoryStatementPrepares,
                         ::testing::ValuesIn(readFactoryStatements(MTS_FACTORY_STATEMENTS)),
                         [](const auto& info) { return info.param.testName; });

}  // namespace
}  // namespace mts::schematest
