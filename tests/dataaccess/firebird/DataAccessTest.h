#pragma once

#include <filesystem>

#include "support/FactoryDatabaseTest.h"

namespace mts::db {

// The data access suites work on a small schema of their own (schema.sql beside
// this file); each test starts with empty SAMPLE and CHANGE_LOG tables.
class DataAccessTest : public test::FactoryDatabaseTest {
 public:
  static std::filesystem::path testSchema() {
    return std::filesystem::path(MTS_DATAACCESS_TEST_DIR) / "schema.sql";
  }
  static void SetUpTestSuite() { openSuiteDatabase(testSchema()); }

 protected:
  void SetUp() override {
    FactoryDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    if (connection().inTransaction()) connection().rollback();
    execute("delete from SAMPLE");
    execute("delete from CHANGE_LOG");
  }
};

}  // namespace mts::db
