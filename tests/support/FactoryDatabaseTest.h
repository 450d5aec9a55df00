#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "dataaccess/firebird/Connection.h"
#include "support/DatabaseRows.h"
#include "support/TestDatabase.h"

namespace mts::test {

// Base of test suites that work on a database: each suite gets a fresh copy of
// the factory database (db/schema.sql) in a temporary folder, opened through
// the embedded engine, shared by the suite's tests and removed after the suite.
//
//   class CardLookupTest : public mts::test::FactoryDatabaseTest {};
//   TEST_F(CardLookupTest, FindsTheCard) {
//     insert("SETOR", {{"COD_SE", "01"}, {"NOME_SE", "CORTE"}});
//     EXPECT_EQ(queryOne("select NOME_SE from SETOR where COD_SE = :C", {{"C", "01"}})
//                   .text("NOME_SE"), "CORTE");
//   }
//
// A suite on another schema hides SetUpTestSuite:
//   static void SetUpTestSuite() { openSuiteDatabase("path/to/schema.sql"); }
// A suite that overrides SetUp calls FactoryDatabaseTest::SetUp() first.
class FactoryDatabaseTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() { openSuiteDatabase(factorySchema()); }
  static void TearDownTestSuite() { closeSuiteDatabase(); }

 protected:
  // Fails the test when the suite's database could not be made.
  void SetUp() override;

  static void openSuiteDatabase(const std::filesystem::path& schema);
  static void closeSuiteDatabase();

  // The suite's connection (opened on first use) and database file. Close the
  // connection before another process opens the file.
  static db::Connection& connection();
  static const TestDatabase& database();

  static void insert(std::string_view table, ColumnValues values) {
    insertRow(connection(), table, values);
  }
  static db::Row queryOne(std::string_view sql, const db::Params& params = {}) {
    return test::queryOne(connection(), sql, params);
  }
  static db::ResultSet query(std::string_view sql, const db::Params& params = {}) {
    return connection().query(sql, params);
  }
  static int execute(std::string_view sql, const db::Params& params = {}) {
    return connection().execute(sql, params);
  }
  static std::int64_t count(std::string_view table, std::string_view where = {},
                            const db::Params& params = {}) {
    return countRows(connection(), table, where, params);
  }

 private:
  struct Suite;
  static std::unique_ptr<Suite>& suite();
  static std::string& setupError();
};

}  // namespace mts::test
