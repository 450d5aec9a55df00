#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "DataAccessTest.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "support/PrivateFirebirdServer.h"
#include "support/TestDatabase.h"

namespace mts::db {

// A database reached through a Firebird server of the test's own, as the
// factory's server reaches its database.
class PrivateServerTest : public ::testing::Test {
 protected:
  test::TestDatabase database_{DataAccessTest::testSchema()};
  test::PrivateFirebirdServer server_;
  ConnectionSettings settings() const { return server_.settings(database_.path()); }
};

// The DatabaseError `action` throws; "(no error)" when it throws none.
inline DatabaseError errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const DatabaseError& error) {
    return error;
  }
  return DatabaseError("(no error)");
}

}  // namespace mts::db
