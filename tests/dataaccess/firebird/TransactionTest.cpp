#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "DataAccessTest.h"
#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

// Visibility is checked from a second attachment: it sees committed rows only.
class TransactionTest : public DataAccessTest {
 protected:
  std::int64_t seenByOther() { return test::countRows(other_, "SAMPLE"); }
  Connection other_{database().settings()};
};

TEST_F(TransactionTest, StatementOutsideATransactionCommitsOnItsOwn) {
  insert("SAMPLE", {{"ID", 1}});
  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(seenByOther(), 1);
}

TEST_F(TransactionTest, ExplicitTransactionShowsItsWorkOnlyAfterCommit) {
  connection().startTransaction();
  EXPECT_TRUE(connection().inTransaction());
  insert("SAMPLE", {{"ID", 1}});
  execute("update SAMPLE set INT_VAL = 7 where ID = 1");
  EXPECT_EQ(count("SAMPLE"), 1);  // its own work is visible inside
  EXPECT_EQ(seenByOther(), 0);

  connection().commit();
  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(test::queryOne(other_, "select INT_VAL from SAMPLE where ID = 1").integer("INT_VAL"),
            7);
}

TEST_F(TransactionTest, RollbackUndoesEveryStatementOfTheTransaction) {
  insert("SAMPLE", {{"ID", 1}, {"INT_VAL", 1}});
  connection().startTransaction();
  insert("SAMPLE", {{"ID", 2}});
  execute("update SAMPLE set INT_VAL = 99");
  execute("EXECUTE PROCEDURE GRAVALOG('K', 'A', 'C', 'U', cast('now' as timestamp), 'x', 'y')");
  connection().rollback();

  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(count("SAMPLE"), 1);
  EXPECT_EQ(queryOne("select INT_VAL from SAMPLE").integer("INT_VAL"), 1);
  EXPECT_EQ(count("CHANGE_LOG"), 0);
}

TEST_F(TransactionTest, FailedStatementKeepsTheTransactionAndItsEarlierWork) {
  connection().startTransaction();
  insert("SAMPLE", {{"ID", 1}});
  EXPECT_THROW(insert("SAMPLE", {{"ID", 1}}), DatabaseError);
  EXPECT_TRUE(connection().inTransaction());
  connection().commit();
  EXPECT_EQ(seenByOther(), 1);
}

TEST_F(TransactionTest, GuardRollsBackUnlessCommitted) {
  {
    Transaction guard(connection());
    insert("SAMPLE", {{"ID", 1}});
  }
  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(count("SAMPLE"), 0);

  {
    Transaction guard(connection());
    insert("SAMPLE", {{"ID", 2}});
    guard.commit();
  }
  EXPECT_EQ(seenByOther(), 1);
}

TEST_F(TransactionTest, GuardRollsBackWhenAnErrorLeavesTheBlock) {
  try {
    Transaction guard(connection());
    insert("SAMPLE", {{"ID", 1}});
    insert("SAMPLE", {{"ID", 1}});  // duplicate key
    guard.commit();
  } catch (const DatabaseError&) {
  }
  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(count("SAMPLE"), 0);
}

TEST_F(TransactionTest, OnlyOneExplicitTransactionAtATime) {
  Transaction guard(connection());
  EXPECT_THROW(Transaction second(connection()), DatabaseError);
  EXPECT_THROW(connection().startTransaction(), DatabaseError);
  EXPECT_TRUE(connection().inTransaction());
}

TEST_F(TransactionTest, CommitWithoutATransactionIsAnError) {
  EXPECT_THROW(connection().commit(), DatabaseError);
  EXPECT_NO_THROW(connection().rollback());  // nothing to undo
}

TEST_F(TransactionTest, WriterWaitsForAnotherTransactionsLock) {
  insert("SAMPLE", {{"ID", 1}, {"INT_VAL", 1}});
  connection().startTransaction();
  execute("update SAMPLE set INT_VAL = 2 where ID = 1");

  // The other attachment's update of the same row waits for this transaction
  // instead of failing at once; when it rolls back, the update goes through.
  std::atomic<bool> finished = false;
  std::string failure;
  std::thread writer([&] {
    try {
      other_.execute("update SAMPLE set INT_VAL = 3 where ID = 1");
    } catch (const DatabaseError& error) {
      failure = error.what();
    }
    finished = true;
  });
  // A third attachment watches for the waiting statement: each of its lone
  // statements reads a fresh snapshot of the monitoring tables.
  Connection monitor(database().settings());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!finished && std::chrono::steady_clock::now() < deadline &&
         test::countRows(monitor, "MON$STATEMENTS",
                         "MON$STATE = 1 and MON$ATTACHMENT_ID <> CURRENT_CONNECTION") == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_FALSE(finished) << "the update did not wait: " << failure;
  connection().rollback();
  writer.join();

  EXPECT_EQ(failure, "");
  EXPECT_EQ(queryOne("select INT_VAL from SAMPLE").integer("INT_VAL"), 3);
}

}  // namespace
}  // namespace mts::db
