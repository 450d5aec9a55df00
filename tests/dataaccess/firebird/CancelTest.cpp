#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "PrivateServerTest.h"
#include "support/DatabaseRows.h"

namespace mts::db {
namespace {

using std::chrono::milliseconds;
using test::countRows;

// `action` started on a thread of its own; its DatabaseError comes back
// through the future.
std::future<DatabaseError> inBackground(std::function<void()> action) {
  return std::async(std::launch::async, [action = std::move(action)] { return errorOf(action); });
}

bool endsWithin(std::future<DatabaseError>& running, milliseconds limit) {
  return running.wait_for(limit) == std::future_status::ready;
}

enum class Scope { LoneStatement, ExplicitTransaction };

class CancelLockWaitTest : public PrivateServerTest, public ::testing::WithParamInterface<Scope> {};

// A statement waiting on a row another attachment holds is stopped at once;
// its transaction is rolled back right away, and the connection goes on.
TEST_P(CancelLockWaitTest, CancelStopsTheWaitAndRollsBack) {
  const bool explicitTransaction = GetParam() == Scope::ExplicitTransaction;
  Connection setup(settings());
  setup.execute("insert into SAMPLE (ID) values (1)");
  Connection holder(settings());
  holder.startTransaction();
  holder.execute("update SAMPLE set TEXT_VAL = 'HELD' where ID = 1");
  Connection client(settings());
  if (explicitTransaction) {
    client.startTransaction();
    client.execute("insert into SAMPLE (ID) values (2)");
  }

  auto waiting =
      inBackground([&] { client.execute("update SAMPLE set TEXT_VAL = 'MINE' where ID = 1"); });
  ASSERT_FALSE(endsWithin(waiting, milliseconds(500))) << "the update did not wait on the lock";
  client.cancelOperation();
  ASSERT_TRUE(endsWithin(waiting, milliseconds(1500)));
  const DatabaseError error = waiting.get();
  EXPECT_TRUE(error.cancelled()) << error.what();
  EXPECT_FALSE(error.outcomeUnknown());

  if (explicitTransaction) {
    // Its insert is gone already: another attachment takes the key at once.
    ConnectionSettings impatient = settings();
    impatient.lockTimeoutSeconds = 1;
    Connection other(impatient);
    EXPECT_EQ(other.execute("insert into SAMPLE (ID) values (2)"), 1);
    // The transaction is over but stays open in name until its owner ends it.
    EXPECT_TRUE(client.inTransaction());
    EXPECT_TRUE(errorOf([&] { client.execute("insert into SAMPLE (ID) values (3)"); }).cancelled());
    EXPECT_TRUE(errorOf([&] { client.commit(); }).cancelled());
    client.rollback();
  }
  holder.commit();
  EXPECT_TRUE(client.isOpen());
  EXPECT_EQ(client.execute("update SAMPLE set TEXT_VAL = 'MINE' where ID = 1"), 1);
  EXPECT_EQ(countRows(setup, "SAMPLE", "ID = 3"), 0);
}

INSTANTIATE_TEST_SUITE_P(Scopes, CancelLockWaitTest,
                         ::testing::Values(Scope::LoneStatement, Scope::ExplicitTransaction),
                         [](const auto& info) {
                           return info.param == Scope::LoneStatement ? "LoneStatement"
                                                                     : "ExplicitTransaction";
                         });

enum class InFlight { Statement, Commit };

class CancelOnHungServerTest : public PrivateServerTest,
                               public ::testing::WithParamInterface<InFlight> {};

// A server frozen mid-operation (SIGSTOP) ignores a raised cancel; an abort
// gives the caller its thread back at once. Only a commit cut off that way is
// of unknown outcome: a statement cut off leaves nothing committed.
TEST_P(CancelOnHungServerTest, AbortReturnsAtOnceAndTellsWhetherAnythingMayHaveCommitted) {
  const bool commit = GetParam() == InFlight::Commit;
  Connection client(settings());
  client.startTransaction();
  client.execute("insert into SAMPLE (ID) values (1)");

  server_.pause();
  auto running = inBackground([&] {
    if (commit) {
      client.commit();
    } else {
      client.execute("insert into SAMPLE (ID) values (2)");
    }
  });
  std::this_thread::sleep_for(milliseconds(200));
  client.cancelOperation(CancelMode::Raise);
  EXPECT_FALSE(endsWithin(running, milliseconds(700))) << "a frozen server acted on the cancel";
  client.cancelOperation(CancelMode::Abort);
  // At once, give or take a loaded machine (a sanitizer build on busy cores).
  ASSERT_TRUE(endsWithin(running, milliseconds(1500)));
  const DatabaseError error = running.get();
  EXPECT_TRUE(error.cancelled()) << error.what();
  EXPECT_EQ(error.outcomeUnknown(), commit) << error.what();
  EXPECT_FALSE(client.isOpen());

  server_.resume();
  client.rollback();
  Connection observer(settings());
  if (!commit) {
    EXPECT_EQ(countRows(observer, "SAMPLE"), 0) << "the server kept a cut-off transaction";
  }
  // The connection attaches anew on its next use.
  client.execute("insert into SAMPLE (ID) values (3)");
  EXPECT_EQ(countRows(observer, "SAMPLE", "ID = 3"), 1);
}

INSTANTIATE_TEST_SUITE_P(Operations, CancelOnHungServerTest,
                         ::testing::Values(InFlight::Statement, InFlight::Commit),
                         [](const auto& info) {
                           return info.param == InFlight::Statement ? "Statement" : "Commit";
                         });

class CancelWhileIdleTest : public PrivateServerTest,
                            public ::testing::WithParamInterface<CancelMode> {};

// A cancel that comes after the operation ended (a deadline that fired late)
// must not stop the next one.
TEST_P(CancelWhileIdleTest, NextOperationRuns) {
  Connection client(settings());
  client.execute("insert into SAMPLE (ID) values (1)");
  client.cancelOperation(GetParam());
  client.execute("insert into SAMPLE (ID) values (2)");
  client.startTransaction();
  client.execute("insert into SAMPLE (ID) values (3)");
  client.commit();
  EXPECT_EQ(countRows(client, "SAMPLE"), 3);
}

INSTANTIATE_TEST_SUITE_P(Modes, CancelWhileIdleTest,
                         ::testing::Values(CancelMode::Raise, CancelMode::Abort),
                         [](const auto& info) {
                           return info.param == CancelMode::Raise ? "Raise" : "Abort";
                         });

}  // namespace
}  // namespace mts::db
