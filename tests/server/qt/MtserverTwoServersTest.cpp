// Two real mtserver processes on one database behind a Firebird server of the
// test's own (a factory running a second server, or a standby), one terminal
// of each sector on each. Fresh cards are each sent to both servers at the
// same moment: the card is posted once, the other terminal is refused with
// the posting that came first, and nothing is doubled in the database.
#include <gtest/gtest.h>

#include <barrier>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "QtTestHelpers.h"
#include "ServerProcess.h"
#include "SimulatedTerminal.h"
#include "TempFolder.h"
#include "dataaccess/firebird/Connection.h"
#include "support/DatabaseRows.h"
#include "support/DemoFactory.h"
#include "support/FreePort.h"
#include "support/PrivateFirebirdServer.h"

namespace mts {
namespace {

using bench::SimulatedTerminal;
using std::chrono::milliseconds;
using test::freePort;
using testing_support::ServerProcess;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using testing_support::WriteFile;

constexpr int kCardsOfEachKind = 6;
constexpr const char* kProgramme = "000301";

// Card numbers of the fresh cards: the first digit tells the kind.
std::string CardNumber(int kind, int index) {
  return std::to_string(kind) + (index < 10 ? "00" : "0") + std::to_string(index);
}
std::string OrderNumber(int kind, int index) {
  return "0000" + CardNumber(kind, index);
}
std::string CardCode(const std::string& card, const char* subCard = "0000") {
  return std::string(kProgramme) + card + subCard;
}
std::string BoxCode(int box) {
  std::string digits = std::to_string(box);
  return "1" + std::string(7 - digits.size(), '0') + digits + "00";
}

enum Kind { kWholeCard = 1, kSubCard = 2, kIntoStock = 3, kBoxes = 4 };

// One server of the pair, with a terminal for each badge it is given.
class Server {
 public:
  Server(const test::PrivateFirebirdServer& firebird, const std::filesystem::path& database)
      : process_(folder_) {
    WriteFile(folder_ / "mtserver.ini",
              "[SERVER-CONFIG]\nPORTA-IP=" + std::to_string(port_) + "\n[BDADOS-CONFIG]\nBDADOS=" +
                  firebird.connectionString(database) + "\nCHAVE=" + firebird.password() +
                  "\nVersaoFirebird=3\nTEMPO-ESPERA-BLOQUEIO=10\n");
  }

  void start() {
    process_.start();
    ASSERT_TRUE(WaitUntil([&] { return process_.logHas("AtivarServer: servidor ativo"); }))
        << process_.errors();
  }

  SimulatedTerminal& terminal(const std::string& badge) {
    for (auto& terminal : terminals_) {
      if (terminal->badge() == badge) return *terminal;
    }
    const int number = static_cast<int>(terminals_.size()) + 1;
    terminals_.push_back(std::make_unique<SimulatedTerminal>(port_, number, milliseconds(20000)));
    terminals_.back()->badgeIn(badge);
    return *terminals_.back();
  }

  ServerProcess& process() { return process_; }

 private:
  TempFolder folder_;
  int port_ = freePort();
  ServerProcess process_;
  std::vector<std::unique_ptr<SimulatedTerminal>> terminals_;
};

class MtserverTwoServers : public testing::Test {
 protected:
  void SetUp() override {
    db::Connection connection(firebird_.settings(database_.path()));
    AddFreshCards(connection);
    first_.start();
    second_.start();
  }

  // Cards of each kind that no one has posted yet, each with the postings of
  // the sectors before the one it is sent to.
  void AddFreshCards(db::Connection& connection) {
    test::insertRow(connection, "PROGRAMACAO",
                    {{"NUM_PO", kProgramme}, {"ENCERRADA_PO", "N"}, {"FILIAL_PO", 1}});
    int box = 9000;
    for (int i = 1; i <= kCardsOfEachKind; ++i) {
      AddCard(connection, kWholeCard, i, "1020", {{"38", 12}}, {});
      AddCard(connection, kSubCard, i, "1020", {{"38", 6}, {"39", 6}}, {"10"});
      test::insertRow(connection, "SUBPROD",
                      {{"ID_PR", 7000 + i},
                       {"PROG_PR", kProgramme},
                       {"FICHA_PR", CardNumber(kSubCard, i)},
                       {"SUBFICHA_PR", "0001"},
                       {"TAMA_PR", "38"},
                       {"QTDE_PR", 6}});
      AddCard(connection, kIntoStock, i, "1020", {{"38", 4}, {"39", 4}, {"40", 4}},
              {"10", "21", "30", "40"});
      AddCard(connection, kBoxes, i, "2035", {{"34", 6}, {"35", 6}, {"36", 6}, {"37", 6}},
              {"10", "30", "40"});
      for (const auto& [talao, sizes] : {std::pair{"0001", "34 35"}, std::pair{"0002", "36 37"}}) {
        test::insertRow(connection, "CODCXCOLET",
                        {{"CODIGO_CX", box++},
                         {"PEDIDO_CX", OrderNumber(kBoxes, i)},
                         {"ITEMPED_CX", "001"},
                         {"TALAO_CX", talao},
                         {"QTDEPAR_CX", 12},
                         {"NUMERACAO_CX", sizes},
                         {"QTPARES_CX", " 6  6"}});
      }
    }
  }

  void AddCard(db::Connection& connection, Kind kind, int index, const char* product,
               const std::vector<std::pair<const char*, int>>& sizes,
               const std::vector<const char*>& postedIn) {
    const std::string card = CardNumber(kind, index);
    const std::string order = OrderNumber(kind, index);
    int pairs = 0;
    for (const auto& [size, count] : sizes) {
      test::insertRow(
          connection, "ITENSPVGRADE",
          {{"PEDIDO_IT", order}, {"ITEM_IT", "001"}, {"TAM_IT", size}, {"QTPED_IT", count}});
      pairs += count;
    }
    test::insertRow(connection, "PEDVENDA",
                    {{"NUM_PV", order}, {"TIPO_PV", "N"}, {"FILIAL_PV", 1}});
    test::insertRow(connection, "ITENSPV",
                    {{"PEDIDO_IT", order},
                     {"ITEM_IT", "001"},
                     {"PROD_IT", product},
                     {"PADRON_IT", "001"},
                     {"PROG_IT", kProgramme},
                     {"FICHA_IT", card},
                     {"SIT_IT", "P"}});
    test::insertRow(connection, "PRODUCAO",
                    {{"PROG_PR", kProgramme}, {"FICHA_PR", card}, {"QTDE_PR", pairs}});
    for (const char* sector : postedIn) {
      test::insertRow(connection, "PRODUCAO_SETOR",
                      {{"ID_PS", 0},
                       {"PROG_PS", kProgramme},
                       {"FICHA_PS", card},
                       {"SUBFICHA_PS", "0000"},
                       {"SETOR_PS", sector},
                       {"DTSAIDA_PS", db::Timestamp{2025, 3, 10, 8, 0, 0}},
                       {"HORASAIDA_PS", "08:00"},
                       {"FUNCIONAR_PS", "001"},
                       {"QTDE_PS", pairs},
                       {"TIPO_OPERACAO_SETOR_PS", "P"},
                       {"TIPO_ATUALIZACAO_PS", "F"}});
    }
  }

  // Sends one code on a terminal of each server at the same moment; returns
  // both answers.
  std::pair<SimulatedTerminal::CardAnswer, SimulatedTerminal::CardAnswer> PostOnBoth(
      const std::string& badge, const std::string& firstCode, const std::string& secondCode) {
    SimulatedTerminal& a = first_.terminal(badge);
    SimulatedTerminal& b = second_.terminal(badge);
    std::barrier together(2);
    SimulatedTerminal::CardAnswer second;
    std::string secondFailure;
    std::thread other([&] {
      together.arrive_and_wait();
      try {
        second = b.postCard(secondCode);
      } catch (const std::exception& error) {
        secondFailure = error.what();
      }
    });
    together.arrive_and_wait();
    SimulatedTerminal::CardAnswer first;
    std::string firstFailure;
    try {
      first = a.postCard(firstCode);
    } catch (const std::exception& error) {
      firstFailure = error.what();
    }
    other.join();
    EXPECT_EQ(firstFailure, "");
    EXPECT_EQ(secondFailure, "");
    return {first, second};
  }

  // One of the two posted the card, the other was told who posted it first.
  static void ExpectPostedOnce(
      const std::pair<SimulatedTerminal::CardAnswer, SimulatedTerminal::CardAnswer>& answers) {
    const auto& [first, second] = answers;
    EXPECT_NE(first.refused, second.refused) << first.screen << "\n" << second.screen;
    std::string detail = first.refused ? first.detail : second.detail;
    std::erase(detail, '\n');
    EXPECT_NE(detail.find("JA ATUALIZADA"), std::string::npos) << detail;
  }

  std::int64_t Rows(const std::string& table, const std::string& where, const db::Params& params) {
    db::Connection connection(firebird_.settings(database_.path()));
    return test::countRows(connection, table, where, params);
  }
  std::int64_t StockPairs(const std::string& where, const db::Params& params) {
    db::Connection connection(firebird_.settings(database_.path()));
    return test::queryOne(connection,
                          "select cast(coalesce(sum(E.QTDE_EMP), 0) as integer) PAIRS "
                          "from PRODUCAO_ESTOQUE P join ENTRADAMP E on E.FILIAL_EMP = "
                          "P.FILIAL_EMP_ES and E.FORNEC_EMP = P.FORNEC_EMP_ES and E.DOCTO_EMP = "
                          "P.DOCTO_EMP_ES and E.SERIE_EMP = P.SERIE_EMP_ES and E.ITEM_EMP = "
                          "P.ITEM_EMP_ES and E.ORDEM_EMP = P.ORDEM_EMP_ES where " +
                              where,
                          params)
        .bigint("PAIRS");
  }
  std::string ItemStatus(int kind, int index) {
    db::Connection connection(firebird_.settings(database_.path()));
    return test::queryOne(connection, "select SIT_IT from ITENSPV where PEDIDO_IT = :P",
                          {{"P", OrderNumber(static_cast<Kind>(kind), index)}})
        .text("SIT_IT");
  }

  test::DemoFactoryDatabase database_;
  test::PrivateFirebirdServer firebird_;
  Server first_{firebird_, database_.path()};
  Server second_{firebird_, database_.path()};
};

TEST_F(MtserverTwoServers, ACardSentToBothServersAtOnceIsPostedOnceAndTheOtherIsRefused) {
  for (int i = 1; i <= kCardsOfEachKind; ++i) {
    SCOPED_TRACE(i);
    const std::string whole = CardCode(CardNumber(kWholeCard, i));
    ExpectPostedOnce(PostOnBoth("1001", whole, whole));
    const std::string sub = CardCode(CardNumber(kSubCard, i), "0001");
    ExpectPostedOnce(PostOnBoth("1002", sub, sub));
    const std::string stock = CardCode(CardNumber(kIntoStock, i));
    ExpectPostedOnce(PostOnBoth("1006", stock, stock));
    // Two different boxes of one order item: both post, and the last of them
    // releases the item, once.
    const int box = 9000 + 2 * (i - 1);
    const auto boxes = PostOnBoth("1006", BoxCode(box), BoxCode(box + 1));
    EXPECT_FALSE(boxes.first.refused) << boxes.first.detail;
    EXPECT_FALSE(boxes.second.refused) << boxes.second.detail;
  }

  for (int i = 1; i <= kCardsOfEachKind; ++i) {
    SCOPED_TRACE(i);
    const db::Params card = {{"PROG", kProgramme}, {"FICHA", CardNumber(kWholeCard, i)}};
    EXPECT_EQ(
        Rows("PRODUCAO_SETOR", "PROG_PS = :PROG and FICHA_PS = :FICHA and SETOR_PS = '10'", card),
        1);
    const db::Params sub = {{"PROG", kProgramme}, {"FICHA", CardNumber(kSubCard, i)}};
    EXPECT_EQ(Rows("PRODUCAO_SETOR",
                   "PROG_PS = :PROG and FICHA_PS = :FICHA and SETOR_PS = '21' and "
                   "SUBFICHA_PS = '0001'",
                   sub),
              1);
    const db::Params stock = {{"PROG", kProgramme}, {"FICHA", CardNumber(kIntoStock, i)}};
    EXPECT_EQ(
        Rows("PRODUCAO_SETOR", "PROG_PS = :PROG and FICHA_PS = :FICHA and SETOR_PS = '50'", stock),
        1);
    EXPECT_EQ(StockPairs("P.PROG_ES = :PROG and P.FICHA_ES = :FICHA", stock), 12);
    EXPECT_EQ(ItemStatus(kIntoStock, i), "E");

    const db::Params item = {{"PEDIDO", OrderNumber(kBoxes, i)}};
    EXPECT_EQ(ItemStatus(kBoxes, i), "L");
    EXPECT_EQ(Rows("LOG_ALTERACAO", "ARQ_LA = 'ITENSPV' and CHAVE_LA = :PEDIDO || '|001'", item),
              1);
    EXPECT_EQ(StockPairs("P.PEDIDO_ES = :PEDIDO and P.ITEM_PED_ES = '001'", item), 24);
  }

  for (Server* server : {&first_, &second_}) {
    const std::string output = server->process().output();
    EXPECT_EQ(output.find("Servidor Reiniciada"), std::string::npos) << output;
    EXPECT_EQ(output.find("Erro Conex"), std::string::npos) << output;
    EXPECT_EQ(server->process().terminate(), 0) << server->process().errors();
  }
}

}  // namespace
}  // namespace mts
