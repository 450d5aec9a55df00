// Every statement the server sends must prepare on a database made from
// db/schema.sql: a table or column missing, a type that cannot be compared, an
// ambiguous column name in a join all fail here, one test per statement. The
// texts are the ones the code sends, read from the areas that send them.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "FactoryStatements.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "support/FactoryDatabaseTest.h"

namespace mts::schematest {
namespace {

// Letters and digits stay; every run of other characters becomes one '_'.
std::string testNameOf(std::string_view name) {
  std::string result;
  for (char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      result += c;
    } else if (!result.empty() && result.back() != '_') {
      result += '_';
    }
  }
  while (!result.empty() && result.back() == '_') result.pop_back();
  return result;
}

// One database for all statements: preparing changes nothing.
class FactoryStatementPrepares : public mts::test::FactoryDatabaseTest,
                                 public ::testing::WithParamInterface<NamedStatement> {};

TEST_P(FactoryStatementPrepares, OnAFreshSchema) {
  const NamedStatement& statement = GetParam();
  try {
    connection().prepare(statement.sql);
  } catch (const mts::db::DatabaseError& error) {
    FAIL() << statement.name << " does not prepare:\n" << error.what() << "\n\n" << statement.sql;
  }
}

INSTANTIATE_TEST_SUITE_P(Server, FactoryStatementPrepares, ::testing::ValuesIn(factoryStatements()),
                         [](const auto& info) { return testNameOf(info.param.name); });

}  // namespace
}  // namespace mts::schematest
