#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchFactory.h"
#include "SqlFloor.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "production/CardLock.h"
#include "production/TdmAtuProducao.h"
#include "support/DatabaseRows.h"
#include "support/TempDir.h"

namespace mts::bench {
namespace {

// Tables a card's recording may write in some sector.
const std::vector<std::string> kWrittenTables{"PRODUCAO_SETOR",        "PRODUCAO_SETOR_OPERACAO",
                                              "FICHA_CORTE_ATU_SETOR", "PROD_ITEM_ESTOQUE",
                                              "PRODUCAO_ESTOQUE",      "LOG_ALTERACAO"};

// A small generated factory, on the embedded engine.
class SqlFloorTest : public ::testing::Test {
 protected:
  SqlFloorTest() {
    generateFactory(folder_ / "factory.fdb", {20, 100, 4});
    db::ConnectionSettings settings;
    settings.database = (folder_ / "factory.fdb").string();
    connection_.setSettings(settings);
  }

  std::map<std::string, long> rowCounts() {
    std::map<std::string, long> counts;
    for (const std::string& table : kWrittenTables) {
      counts[table] = test::queryOne(connection_, "select count(*) as N from " + table).bigint("N");
    }
    return counts;
  }

  static std::map<std::string, long> added(std::map<std::string, long> after,
                                           const std::map<std::string, long>& before) {
    for (auto& [table, count] : after) count -= before.at(table);
    return after;
  }

  db::Row assemblyPosting(int card) {
    const std::string code = postableCard(card);
    return test::queryOne(connection_,
                          "select * from PRODUCAO_SETOR where PROG_PS = :PROG and "
                          "FICHA_PS = :FICHA and SETOR_PS = '30'",
                          {{"PROG", code.substr(0, 6)}, {"FICHA", code.substr(6, 4)}});
  }

  static FloorCard floorCard(int card) {
    const std::string code = postableCard(card);
    return {code.substr(0, 6), code.substr(6, 4), "30", "004"};
  }

  test::TempDir folder_{"sqlfloor"};
  db::Connection connection_;
};

// The floor is only a floor if it does what the server does for a card: the
// server posts generated card 0 and the floor card 1, and both leave the same
// rows behind, column for column but for the row's own id, its card and the
// time of posting.
TEST_F(SqlFloorTest, WritesTheRowsTheServerWritesForAnAcceptedCard) {
  TdmAtuProducao module(connection_, [](const std::string& error) { FAIL() << error; });
  auto before = rowCounts();
  TDadosAtuProducao request;
  std::string message;
  ASSERT_TRUE(module.IdentificarFicha(postableCard(0), "30", request, message)) << message;
  request.Funcionario = "004";
  module.DadosAtuProducao = request;
  const TRetorno validated = module.ValidaAtuProducao();
  ASSERT_TRUE(validated.Sucesso) << validated.Mensagem;
  module.GravarAtuProducao();
  const auto byServer = added(rowCounts(), before);

  before = rowCounts();
  const LatencyFigures figures = postAtFloor(connection_, {floorCard(1)});
  EXPECT_EQ(figures.cards, 1);
  EXPECT_EQ(added(rowCounts(), before), byServer);

  const db::Row server = assemblyPosting(0);
  const db::Row floor = assemblyPosting(1);
  for (const std::string& column : server.columns()) {
    if (column == "ID_PS" || column == "FICHA_PS" || column == "PROG_PS" ||
        column == "DTSAIDA_PS" || column == "HORASAIDA_PS") {
      continue;
    }
    SCOPED_TRACE(column);
    EXPECT_EQ(floor.isNull(column), server.isNull(column));
    EXPECT_EQ(floor.text(column), server.text(column));
  }
  const db::Timestamp posted = floor.timestamp("DTSAIDA_PS");
  char hour[8];
  std::snprintf(hour, sizeof hour, "%02d:%02d", posted.hour, posted.minute);
  EXPECT_EQ(floor.text("HORASAIDA_PS"), hour);
}

// A floor that skipped its checks would look fast for nothing: a card it would
// refuse stops it, with nothing of that card written.
TEST_F(SqlFloorTest, StopsAtACardTheChecksRefuse) {
  postAtFloor(connection_, {floorCard(2)});
  const auto before = rowCounts();
  EXPECT_THROW(postAtFloor(connection_, {floorCard(3), floorCard(2)}), std::runtime_error);
  auto expected = before;
  expected["PRODUCAO_SETOR"] += 1;  // card 3, committed before card 2 was refused
  EXPECT_EQ(rowCounts(), expected);
  EXPECT_FALSE(connection_.inTransaction());
}

// The floor under the card lock must wait for exactly the lock a server takes
// on that card, or its figure says nothing about what the lock costs: while
// another attachment holds the card through the server's own lock, the locked
// floor gives up at the lock timeout with nothing written, and the floor
// proper, which takes no lock, posts a card beside it.
TEST_F(SqlFloorTest, UnderTheCardLockWaitsForTheServersLockOnThatCard) {
  db::ConnectionSettings settings = connection_.settings();
  settings.lockTimeoutSeconds = 1;
  connection_.setSettings(settings);
  db::Connection holder(settings);
  holder.startTransaction();
  CardLock serverLock;
  serverLock.DefinirConexao(holder);
  TDadosAtuProducao held;
  held.Prog = floorCard(0).prog;
  held.Ficha = floorCard(0).ficha;
  serverLock.Travar(CardLockKeys(held, std::nullopt));

  const auto before = rowCounts();
  EXPECT_THROW(postAtFloor(connection_, {floorCard(0)}, FloorMode::OneTransactionUnderCardLock),
               db::DatabaseError);
  EXPECT_EQ(rowCounts(), before);
  EXPECT_FALSE(connection_.inTransaction());
  postAtFloor(connection_, {floorCard(1)}, FloorMode::OneTransaction);

  holder.rollback();
  postAtFloor(connection_, {floorCard(0)}, FloorMode::OneTransactionUnderCardLock);
  EXPECT_EQ(assemblyPosting(0).text("SETOR_PS"), "30");
}

}  // namespace
}  // namespace mts::bench
