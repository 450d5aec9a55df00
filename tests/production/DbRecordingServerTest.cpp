#include <gtest/gtest.h>

#include <chrono>
#include <exception>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "RecordingData.h"
#include "dataaccess/DatabaseError.h"
#include "production/TdmAtuProducao.h"
#include "support/PrivateFirebirdServer.h"
#include "support/TestDatabase.h"

namespace mts::test {
namespace {

using namespace recording;
using Trace = std::map<std::string, std::string>;

// The factory database behind a Firebird server of the test's own, reached the
// way the server reaches the factory's, so that the server can be killed under
// a recording.
class RecordingServerTest : public ::testing::Test {
 protected:
  db::ConnectionSettings settings() const { return server_.settings(database_.path()); }

  // True once a statement of another attachment that updates ITENSPV is
  // running (waiting on a lock counts as running).
  bool itemUpdateRunning() {
    db::Connection monitor(settings());
    return queryOne(monitor,
                    "select count(*) as N from MON$STATEMENTS S where S.MON$STATE = 1 and "
                    "S.MON$ATTACHMENT_ID <> CURRENT_CONNECTION and S.MON$SQL_TEXT containing "
                    "'ITENSPV I SET'")
               .bigint("N") > 0;
  }

  TestDatabase database_{factorySchema()};
  PrivateFirebirdServer server_;
};

TEST_F(RecordingServerTest, ServerKilledWhileACardWaitsOnALockLeavesNothingAndTheRescanRecordsIt) {
  db::Connection connection(settings());
  addCard(connection);
  addStockSector(connection, "40", 4, "S", "S");
  std::vector<std::string> startupErrors;
  TdmAtuProducao module(connection,
                        [&](const std::string& message) { startupErrors.push_back(message); });
  ASSERT_TRUE(startupErrors.empty()) << startupErrors.front();
  module.DadosAtuProducao = wholeCard("40");

  // Another program holds order item 002, which the card's item status step
  // updates last, after its sector row and stock entries.
  db::Connection otherProgram(settings());
  otherProgram.startTransaction();
  otherProgram.execute("update ITENSPV set SIT_IT = SIT_IT where ITEM_IT = '002'");

  std::exception_ptr failure;
  std::thread recording([&] {
    try {
      module.GravarAtuProducao();
    } catch (...) {
      failure = std::current_exception();
    }
  });
  bool waiting = false;
  for (int attempt = 0; attempt < 200 && !waiting; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    waiting = itemUpdateRunning();
  }
  if (!waiting) otherProgram.rollback();  // let the recording end before failing
  server_.kill();
  recording.join();
  ASSERT_TRUE(waiting) << "the recording never waited on the locked item";

  ASSERT_TRUE(failure);
  try {
    std::rethrow_exception(failure);
  } catch (const db::DatabaseError& error) {
    EXPECT_TRUE(error.connectionLost()) << error.what();
  }
  EXPECT_FALSE(connection.inTransaction());

  server_.start();
  const Trace nothing{{"PRODUCAO_SETOR", "0"},    {"ENTRADAMP", "0"},     {"PRODUCAO_ESTOQUE", "0"},
                      {"PROD_ITEM_ESTOQUE", "0"}, {"LOG_ALTERACAO", "0"}, {"SIT_IT 001", "P"},
                      {"SIT_IT 002", "P"}};
  db::Connection checker(settings());
  EXPECT_EQ(cardTrace(checker), nothing);

  // The same module and connection record the card again once the server is back.
  module.GravarAtuProducao();
  EXPECT_EQ(cardTrace(checker), (Trace{{"PRODUCAO_SETOR", "1"},
                                       {"ENTRADAMP", "3"},
                                       {"PRODUCAO_ESTOQUE", "3"},
                                       {"PROD_ITEM_ESTOQUE", "2"},
                                       {"LOG_ALTERACAO", "0"},
                                       {"SIT_IT 001", "E"},
                                       {"SIT_IT 002", "E"}}));
  EXPECT_EQ(entries(checker), (std::vector<std::string>{"001 37 10", "001 38 10", "002 38 10"}));
}

}  // namespace
}  // namespace mts::test
