#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "DataAccessTest.h"
#include "dataaccess/DatabaseError.h"
#include "dataaccess/TransactionScope.h"

namespace mts::db {
namespace {

// Work in three nested scopes, as a recording that calls a stock posting that
// calls a label release: each level inserts its own row, then the level named
// by `failAt` throws. Each level's caller handles a failure of the level below
// and carries on, which is exactly what must not commit half the work.
void nestedWork(Connection& connection, int level, int failAt) {
  TransactionScope scope(connection);
  EXPECT_EQ(scope.ownsTransaction(), level == 1) << "level " << level;
  test::insertRow(connection, "SAMPLE", {{"ID", level}});
  if (level < 3) {
    try {
      nestedWork(connection, level + 1, failAt);
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "level failed");
    }
  }
  if (level == failAt) throw std::runtime_error("level failed");
  scope.commit();
}

class TransactionScopeTest : public DataAccessTest {
 protected:
  std::int64_t committedRows() { return test::countRows(other_, "SAMPLE"); }
  Connection other_{database().settings()};
};

TEST_F(TransactionScopeTest, OnlyWorkWhoseEveryLevelSucceededIsCommitted) {
  struct Case {
    int failAt;  // 0: no level fails
    std::string escapes;
    std::int64_t committed;
  };
  const std::vector<Case> cases = {
      {0, "", 3},
      {1, "level failed", 0},
      {2, "refused commit", 0},
      {3, "refused commit", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("failing level " + std::to_string(c.failAt));
    execute("delete from SAMPLE");
    std::string escaped;
    try {
      nestedWork(connection(), 1, c.failAt);
    } catch (const DatabaseError&) {
      escaped = "refused commit";
    } catch (const std::runtime_error& error) {
      escaped = error.what();
    }
    EXPECT_EQ(escaped, c.escapes);
    EXPECT_FALSE(connection().inTransaction()) << "the owner ends the transaction either way";
    EXPECT_EQ(committedRows(), c.committed);

    // The failure belonged to that transaction alone: the next one commits.
    TransactionScope next(connection());
    insert("SAMPLE", {{"ID", 10}});
    next.commit();
    EXPECT_EQ(committedRows(), c.committed + 1);
  }
}

TEST_F(TransactionScopeTest, JoinsATransactionTheCallerStartedAndLeavesItToTheCaller) {
  connection().startTransaction();
  {
    TransactionScope joined(connection());
    EXPECT_FALSE(joined.ownsTransaction());
    insert("SAMPLE", {{"ID", 1}});
    joined.commit();
  }
  EXPECT_TRUE(connection().inTransaction());
  EXPECT_EQ(committedRows(), 0) << "a joined scope's commit reaches nothing";
  connection().rollback();
  EXPECT_EQ(count("SAMPLE"), 0);
}

TEST_F(TransactionScopeTest, JoinedScopeLeftByAnErrorKeepsTheCallersCommitFromWriting) {
  connection().startTransaction();
  insert("SAMPLE", {{"ID", 1}});
  try {
    TransactionScope joined(connection());
    insert("SAMPLE", {{"ID", 1}});  // duplicate key
    joined.commit();
  } catch (const DatabaseError&) {
  }
  EXPECT_THROW(connection().commit(), DatabaseError);
  EXPECT_TRUE(connection().inTransaction()) << "left for the caller to roll back";
  connection().rollback();
  EXPECT_EQ(committedRows(), 0);
}

}  // namespace
}  // namespace mts::db
