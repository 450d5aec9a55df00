#include "support/FactoryDatabaseTest.h"

#include <stdexcept>

namespace mts::test {

struct FactoryDatabaseTest::Suite {
  explicit Suite(const std::filesystem::path& schema)
      : database(schema), connection(database.settings()) {}
  TestDatabase database;
  db::Connection connection;
};

std::unique_ptr<FactoryDatabaseTest::Suite>& FactoryDatabaseTest::suite() {
  static std::unique_ptr<Suite> current;
  return current;
}

std::string& FactoryDatabaseTest::setupError() {
  static std::string message;
  return message;
}

void FactoryDatabaseTest::openSuiteDatabase(const std::filesystem::path& schema) {
  closeSuiteDatabase();
  try {
    suite() = std::make_unique<Suite>(schema);
  } catch (const std::exception& error) {
    // Reported by every test of the suite (SetUp), where it fails the test.
    setupError() = error.what();
  }
}

void FactoryDatabaseTest::closeSuiteDatabase() {
  suite().reset();
  setupError().clear();
}

void FactoryDatabaseTest::SetUp() {
  if (!suite()) {
    FAIL() << "the suite's test database could not be made: " << setupError();
  }
}

db::Connection& FactoryDatabaseTest::connection() {
  if (!suite()) throw std::logic_error("no test database: the suite's set-up failed");
  return suite()->connection;
}

const TestDatabase& FactoryDatabaseTest::database() {
  if (!suite()) throw std::logic_error("no test database: the suite's set-up failed");
  return suite()->database;
}

}  // namespace mts::test
