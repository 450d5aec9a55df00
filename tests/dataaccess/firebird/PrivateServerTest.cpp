#include <gtest/gtest.h>

#include <chrono>

#include "PrivateServerTest.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "dataaccess/firebird/TransactionScope.h"
#include "support/DatabaseRows.h"
#include "support/PrivateFirebirdServer.h"
#include "support/TestDatabase.h"

namespace mts::db {
namespace {

using test::countRows;
using test::insertRow;

TEST_F(PrivateServerTest, OtherAttachmentsAndProcessesSeeCommittedRows) {
  Connection writer(settings());
  Connection reader(settings());
  writer.startTransaction();
  writer.execute("insert into SAMPLE (ID, TEXT_VAL) values (1, :T)", {{"T", "CONCEI\xC7\xC3O"}});
  EXPECT_EQ(countRows(reader, "SAMPLE"), 0);

  writer.commit();
  EXPECT_EQ(test::queryOne(reader, "select TEXT_VAL from SAMPLE").text("TEXT_VAL"),
            "CONCEI\xC7\xC3O");
  const std::string output =
      server_.isql(database_.path(), "select 'ROWS=' || count(*) from SAMPLE;\n");
  EXPECT_NE(output.find("ROWS=1"), std::string::npos) << output;
}

// Another program holding a row locked must not hold this (single-threaded)
// client for ever: the statement gives up after the lock timeout, its
// transaction rolls back whole, and the connection goes on working.
TEST_F(PrivateServerTest, LockHeldElsewhereFailsAfterTheLockTimeoutAndTheConnectionGoesOn) {
  Connection setup(settings());
  setup.execute("insert into SAMPLE (ID) values (1)");
  ConnectionSettings waiting = settings();
  // The engine counts the wait in whole-second ticks: 2 s waits 1 to 2 s.
  waiting.lockTimeoutSeconds = 2;
  Connection client(waiting);
  Connection holder(settings());
  holder.startTransaction();
  holder.execute("update SAMPLE set TEXT_VAL = 'HELD' where ID = 1");

  client.startTransaction();
  client.execute("insert into SAMPLE (ID) values (2)");
  const auto started = std::chrono::steady_clock::now();
  const DatabaseError error =
      errorOf([&] { client.execute("update SAMPLE set TEXT_VAL = 'MINE' where ID = 1"); });
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_NE(std::string(error.what()).find("conflict"), std::string::npos) << error.what();
  EXPECT_FALSE(error.connectionLost());
  // Told apart from other failures, naming the transaction that holds the row.
  EXPECT_TRUE(error.conflict());
  EXPECT_GT(error.concurrentTransaction(), 0);
  EXPECT_GE(waited, std::chrono::milliseconds(900)) << error.what();
  EXPECT_LT(waited, std::chrono::seconds(6));
  client.rollback();

  holder.commit();
  EXPECT_EQ(countRows(setup, "SAMPLE"), 1);  // the insert before the conflict is gone too
  EXPECT_EQ(client.execute("update SAMPLE set TEXT_VAL = 'MINE' where ID = 1"), 1);
}

TEST_F(PrivateServerTest, WrongPasswordIsRefusedWithTheServersMessage) {
  ConnectionSettings wrong = settings();
  wrong.password = "not-it";
  Connection connection(wrong);
  const DatabaseError error = errorOf([&] { connection.open(); });
  EXPECT_NE(std::string(error.what()).find("user name and password are not defined"),
            std::string::npos)
      << error.what();
  EXPECT_FALSE(error.connectionLost());
  EXPECT_FALSE(connection.isOpen());
}

// The server goes away under an open connection, cleanly or at once, and
// comes back.
enum class Outage { Restart, CrashAndStart };

class ServerOutageTest : public PrivateServerTest, public ::testing::WithParamInterface<Outage> {
 protected:
  void interrupt() {
    if (GetParam() == Outage::Restart) {
      server_.restart();
    } else {
      server_.kill();
      server_.start();
    }
  }
};

TEST_P(ServerOutageTest, TransactionLostWithTheLinkRefusesEveryStatementUntilRolledBack) {
  Connection connection(settings());
  insertRow(connection, "SAMPLE", {{"ID", 1}});
  connection.startTransaction();
  insertRow(connection, "SAMPLE", {{"ID", 2}});

  interrupt();

  const DatabaseError lost = errorOf([&] { insertRow(connection, "SAMPLE", {{"ID", 3}}); });
  EXPECT_TRUE(lost.connectionLost()) << lost.what();
  EXPECT_TRUE(connection.inTransaction()) << "the loss is kept for the owner to see";

  // Nothing after the loss may commit on its own what belonged to the lost work.
  const DatabaseError refused = errorOf([&] { insertRow(connection, "SAMPLE", {{"ID", 4}}); });
  EXPECT_TRUE(refused.connectionLost()) << refused.what();
  EXPECT_THROW(countRows(connection, "SAMPLE"), DatabaseError);
  EXPECT_TRUE(errorOf([&] { connection.commit(); }).connectionLost());
  EXPECT_THROW(connection.startTransaction(), DatabaseError);

  connection.rollback();
  EXPECT_FALSE(connection.inTransaction());
  EXPECT_EQ(countRows(connection, "SAMPLE"), 1);  // attached again; only the first row was kept
  insertRow(connection, "SAMPLE", {{"ID", 5}});   // prepared statements are prepared anew
  EXPECT_EQ(countRows(connection, "SAMPLE"), 2);
}

TEST_P(ServerOutageTest, ScopesLeftByALostLinkWriteNothing) {
  Connection connection(settings());
  try {
    TransactionScope outer(connection);
    insertRow(connection, "SAMPLE", {{"ID", 1}});
    try {
      TransactionScope inner(connection);
      interrupt();
      insertRow(connection, "SAMPLE", {{"ID", 2}});
      inner.commit();
    } catch (const DatabaseError& error) {
      EXPECT_TRUE(error.connectionLost()) << error.what();
    }
    outer.commit();
    ADD_FAILURE() << "the outer scope committed after losing its link";
  } catch (const DatabaseError& error) {
    EXPECT_TRUE(error.connectionLost()) << error.what();
  }
  EXPECT_FALSE(connection.inTransaction());
  EXPECT_EQ(countRows(connection, "SAMPLE"), 0);
}

TEST_P(ServerOutageTest, FirstStatementOnAnIdleConnectionAfterAnOutageAttachesAgainAndRuns) {
  Connection connection(settings());
  EXPECT_EQ(countRows(connection, "SAMPLE"), 0);

  interrupt();
  insertRow(connection, "SAMPLE", {{"ID", 1}});
  EXPECT_EQ(countRows(connection, "SAMPLE"), 1) << "run exactly once";

  interrupt();
  connection.startTransaction();
  insertRow(connection, "SAMPLE", {{"ID", 2}});
  connection.commit();
  EXPECT_EQ(countRows(connection, "SAMPLE"), 2);
}

// Lone SELECTs share a transaction the connection keeps open; after an
// outage the first one attaches again and reads what was committed meanwhile.
TEST_P(ServerOutageTest, LoneSelectAfterAnOutageAttachesAgainAndSeesTheNewRows) {
  Connection connection(settings());
  EXPECT_EQ(countRows(connection, "SAMPLE"), 0);

  interrupt();
  Connection writer(settings());
  insertRow(writer, "SAMPLE", {{"ID", 1}});
  EXPECT_EQ(countRows(connection, "SAMPLE"), 1);
  EXPECT_FALSE(connection.inTransaction());
  insertRow(connection, "SAMPLE", {{"ID", 2}});
  EXPECT_EQ(countRows(writer, "SAMPLE"), 2);
}

TEST_P(ServerOutageTest, CommitThatFindsTheLinkGoneFailsAndNothingIsWritten) {
  Connection connection(settings());
  connection.startTransaction();
  insertRow(connection, "SAMPLE", {{"ID", 1}});

  interrupt();

  const DatabaseError lost = errorOf([&] { connection.commit(); });
  EXPECT_TRUE(lost.connectionLost()) << lost.what();
  // Sent on a link that then failed: the caller cannot know what the server did.
  EXPECT_TRUE(lost.outcomeUnknown());
  EXPECT_FALSE(connection.inTransaction());
  EXPECT_EQ(countRows(connection, "SAMPLE"), 0);
}

INSTANTIATE_TEST_SUITE_P(Outages, ServerOutageTest,
                         ::testing::Values(Outage::Restart, Outage::CrashAndStart),
                         [](const auto& info) {
                           return info.param == Outage::Restart ? "Restart" : "CrashAndStart";
                         });

// The health check: a connection-lost error as soon as the server is gone, and
// up again by itself once the server is back.
TEST_F(PrivateServerTest, PingFollowsTheServerThroughACrashAndARestart) {
  Connection connection(settings());
  connection.ping();

  server_.kill();
  const auto started = std::chrono::steady_clock::now();
  const DatabaseError gone = errorOf([&] { connection.ping(); });
  EXPECT_TRUE(gone.connectionLost()) << gone.what();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_TRUE(errorOf([&] { connection.ping(); }).connectionLost());

  server_.start();
  connection.ping();
  insertRow(connection, "SAMPLE", {{"ID", 1}});
  EXPECT_EQ(countRows(connection, "SAMPLE"), 1);
}

TEST_F(PrivateServerTest, ReattachAfterTheServerCameBackDropsTheLostTransaction) {
  Connection connection(settings());
  connection.startTransaction();
  insertRow(connection, "SAMPLE", {{"ID", 1}});
  server_.kill();
  server_.start();

  connection.reattach();
  EXPECT_TRUE(connection.isOpen());
  EXPECT_FALSE(connection.inTransaction());
  EXPECT_EQ(countRows(connection, "SAMPLE"), 0);
  insertRow(connection, "SAMPLE", {{"ID", 2}});
  EXPECT_EQ(countRows(connection, "SAMPLE"), 1);
}

TEST_F(PrivateServerTest, StatementsFailWhileTheServerIsDownAndWorkOnceItIsBack) {
  Connection connection(settings());
  EXPECT_EQ(countRows(connection, "SAMPLE"), 0);

  server_.stop();
  EXPECT_TRUE(errorOf([&] { countRows(connection, "SAMPLE"); }).connectionLost());
  const DatabaseError unreachable = errorOf([&] { countRows(connection, "SAMPLE"); });
  EXPECT_TRUE(unreachable.connectionLost()) << unreachable.what();

  server_.start();
  insertRow(connection, "SAMPLE", {{"ID", 1}});
  EXPECT_EQ(countRows(connection, "SAMPLE"), 1);
}

}  // namespace
}  // namespace mts::db
