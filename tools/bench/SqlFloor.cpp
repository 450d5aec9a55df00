#include "SqlFloor.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "production/CardLock.h"

namespace mts::bench {

namespace {

using Clock = std::chrono::steady_clock;

const char* const kEmployeeInSector =
    "select first 1 FUNCIONARIO_SF from SETOR_FUNCIONARIO "
    "where SETOR_SF = :SETOR and FUNCIONARIO_SF = :FUNCIONARIO";
const char* const kPendingOperations =
    "select count(*) as PENDENTES from PRODUCAO_OP_SETOR P "
    "where P.PROG_OS = :PROG and P.FICHA_OS = :FICHA and P.SETOR_OS = :SETOR "
    "and not exists (select 1 from PRODUCAO_SETOR_OPERACAO SO where SO.PROG_SO = P.PROG_OS "
    "and SO.FICHA_SO = P.FICHA_OS and SO.SETOR_SO = P.SETOR_OS "
    "and SO.OPERACAO_SO = P.OPERACAO_OS)";
// The database's clock comes with the programme: the posting is stamped with it.
const char* const kProgramme =
    "select ENCERRADA_PO, cast('now' as timestamp) as DATA_HORA from PROGRAMACAO "
    "where NUM_PO = :PROG";
const char* const kItemProduct =
    "select IT.PROD_IT, PR.SETORINICIAL_PR from ITENSPV IT "
    "left join PRODUTO PR on PR.COD_PR = IT.PROD_IT "
    "where IT.PROG_IT = :PROG and IT.FICHA_IT = :FICHA";
const char* const kProductSector =
    "select first 1 CODIGO_SETOR_PS from PRODUTO_SETOR "
    "where CODIGO_PRODUTO_PS = :PROD and CODIGO_SETOR_PS = :SETOR";
const char* const kCard =
    "select QTDE_PR from PRODUCAO where PROG_PR = :PROG and FICHA_PR = :FICHA";
const char* const kSector =
    "select SETORANT_SE, SETOR_AGRUP_SE, TIPO_OPERACAO_SE from SETOR where COD_SE = :SETOR";
const char* const kPostings =
    "select PS.SETOR_PS, PS.SUBFICHA_PS, SE.SETOR_AGRUP_SE from PRODUCAO_SETOR PS "
    "left join SETOR SE on SE.COD_SE = PS.SETOR_PS "
    "where PS.PROG_PS = :PROG and PS.FICHA_PS = :FICHA";
const char* const kInsert =
    "insert into PRODUCAO_SETOR (PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, FUNCIONAR_PS, "
    "TIPO_OPERACAO_SETOR_PS, TIPO_ATUALIZACAO_PS, QTDE_PS, CODCXCOLET_PS, ID_SUBPROD_PS, ID_PS, "
    "DATA_BAIXA_MANUAL_PS, DTSAIDA_PS, HORASAIDA_PS) "
    "values (:PROG, :FICHA, '0000', :SETOR, :FUNCIONARIO, :TIPO_OPERACAO, 'F', :QTDE, 0, 0, 0, "
    "'N', :DATA_HORA, :HORA)";

void require(bool accepted, const FloorCard& card, const std::string& what) {
  if (!accepted) {
    throw std::runtime_error("floor: card " + card.prog + "/" + card.ficha + " in sector " +
                             card.sector + " would be refused: " + what);
  }
}

std::string hourAndMinute(const db::Timestamp& time) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", time.hour, time.minute);
  return text;
}

// The reads and the write of one card, inside the caller's transaction.
void postOne(db::Connection& connection, const FloorCard& card) {
  const db::Params keys{{"PROG", card.prog},
                        {"FICHA", card.ficha},
                        {"SETOR", card.sector},
                        {"FUNCIONARIO", card.employee}};
  require(!connection.query(kEmployeeInSector, keys).empty(), card, "employee not in the sector");
  require(connection.query(kPendingOperations, keys).front().integer("PENDENTES") == 0, card,
          "operation cards pending");
  const db::ResultSet programme = connection.query(kProgramme, keys);
  require(!programme.empty() && programme.front().text("ENCERRADA_PO") != "S", card,
          "programme missing or closed");
  const db::ResultSet item = connection.query(kItemProduct, keys);
  require(!item.empty(), card, "no order item");
  const db::ResultSet productSector = connection.query(
      kProductSector, {{"PROD", item.front().text("PROD_IT")}, {"SETOR", card.sector}});
  require(!productSector.empty(), card, "product does not pass the sector");
  const db::ResultSet quantity = connection.query(kCard, keys);
  require(!quantity.empty(), card, "card not found");
  const db::ResultSet sector = connection.query(kSector, keys);
  require(!sector.empty(), card, "sector not found");
  const std::string previous = sector.front().text("SETORANT_SE");
  bool previousDone = previous.empty();
  for (const db::Row& posting : connection.query(kPostings, keys)) {
    require(posting.text("SETOR_PS") != card.sector, card, "already posted in the sector");
    if (posting.text("SETOR_PS") == previous || posting.text("SETOR_AGRUP_SE") == previous) {
      previousDone = true;
    }
  }
  require(previousDone, card, "previous sector not posted");

  const db::Timestamp now = programme.front().timestamp("DATA_HORA");
  const int written =
      connection.execute(kInsert, db::Params(keys)
                                      .set("TIPO_OPERACAO", sector.front().text("TIPO_OPERACAO_SE"))
                                      .set("QTDE", quantity.front().integer("QTDE_PR"))
                                      .set("DATA_HORA", now)
                                      .set("HORA", hourAndMinute(now)));
  require(written == 1, card, "row not written");
}

// The lock a server takes on a whole card before its checks: the same keys,
// slots and statement, through the server's own class.
void lockCard(db::Connection& connection, const FloorCard& card) {
  TDadosAtuProducao identified;
  identified.Prog = card.prog;
  identified.Ficha = card.ficha;
  CardLock lock;
  lock.DefinirConexao(connection);
  lock.Travar(CardLockKeys(identified, std::nullopt));
}

}  // namespace

void prepareFloor(db::Connection& connection) {
  // Every statement prepared once beforehand, as a long-running server has them.
  for (const char* sql : {kEmployeeInSector, kPendingOperations, kProgramme, kItemProduct,
                          kProductSector, kCard, kSector, kPostings, kInsert}) {
    connection.prepare(sql);
  }
  for (const NamedStatement& statement : CardLock::Statements()) connection.prepare(statement.sql);
}

std::chrono::nanoseconds postOneAtFloor(db::Connection& connection, const FloorCard& card,
                                        FloorMode mode) {
  const Clock::time_point begun = Clock::now();
  if (mode == FloorMode::CommitPerStatement) {
    postOne(connection, card);
  } else {
    db::Transaction transaction(connection);
    if (mode == FloorMode::OneTransactionUnderCardLock) lockCard(connection, card);
    postOne(connection, card);
    transaction.commit();
  }
  return Clock::now() - begun;
}

LatencyFigures postAtFloor(db::Connection& connection, const std::vector<FloorCard>& cards,
                           FloorMode mode) {
  std::vector<std::chrono::nanoseconds> latencies;
  latencies.reserve(cards.size());
  prepareFloor(connection);
  const Clock::time_point start = Clock::now();
  for (const FloorCard& card : cards) {
    latencies.push_back(postOneAtFloor(connection, card, mode));
  }
  return summarise(latencies, Clock::now() - start);
}

}  // namespace mts::bench
