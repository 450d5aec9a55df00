#include "BenchFactory.h"

#include <string>

#include "dataaccess/firebird/Connection.h"
#include "support/DemoFactory.h"

namespace mts::bench {

namespace {

// Employee codes are three characters; 62 symbols give room for far more than
// the sizes asked, away from the demo's numeric codes since the first symbol is
// a letter.
std::string employeeCode(int number) {
  static const std::string symbols =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  return {symbols[(number / 3844) % 52], symbols[(number / 62) % 62], symbols[number % 62]};
}

std::string padded(int number, std::size_t width) {
  std::string text = std::to_string(number);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

void addEmployees(db::Connection& connection, int count) {
  const std::string insert =
      "INSERT INTO FUNCIONARIO (CODIGO_FU, NOME_FU, CRACHA_FU, ATIVO_FU) "
      "VALUES (:CODIGO, :NOME, :CRACHA, 'S')";
  const std::string link =
      "INSERT INTO SETOR_FUNCIONARIO (SETOR_SF, FUNCIONARIO_SF) VALUES ('30', :CODIGO)";
  for (int i = 0; i < count; ++i) {
    db::Params row;
    row.set("CODIGO", employeeCode(i));
    row.set("NOME", "FUNCIONARIO " + std::to_string(i));
    row.set("CRACHA", "9" + padded(i, 7));
    connection.execute(insert, row);
    if (i % 10 == 0) connection.execute(link, row);
  }
}

// Programmes 9xxxxx are never used by the demo's cards. The identifier 0
// lets the database number them, as it numbers the server's own postings.
void addPostings(db::Connection& connection, int count) {
  const std::string insert =
      "INSERT INTO PRODUCAO_SETOR (ID_PS, PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, "
      "DTSAIDA_PS, HORASAIDA_PS, FUNCIONAR_PS, QTDE_PS, TIPO_ATUALIZACAO_PS) "
      "VALUES (0, :PROG, :FICHA, '0000', :SETOR, CURRENT_TIMESTAMP, '08:00', '001', 12, 'F')";
  for (int i = 0; i < count; ++i) {
    db::Params row;
    row.set("PROG", "9" + padded((i / 8000) % 99999, 5));
    row.set("FICHA", padded((i / 8) % 1000, 4));
    row.set("SETOR", padded(10 * (1 + i % 8), 2));
    connection.execute(insert, row);
  }
}

// Generated cards live in programmes 8xxxxx, 999 cards each, so that a card's
// order item number (three digits) can follow its card number.
constexpr int kCardsPerProgramme = 999;

std::string programmeOf(int card) {
  return "8" + padded(card / kCardsPerProgramme, 5);
}

std::string cardNumberOf(int card) {
  return padded(card % kCardsPerProgramme + 1, 4);
}

// Each card is a whole card of 12 black men's shoes (product 1020, which goes
// through every production sector) on an order item of its own, cut in 10 and
// stitched in 21 by the demo's operators: assembly (30) is the next step.
void addPostableCards(db::Connection& connection, int count) {
  const std::string programme =
      "INSERT INTO PROGRAMACAO (NUM_PO, DATA_PO, ENCERRADA_PO, FILIAL_PO) "
      "VALUES (:PROG, CURRENT_DATE, 'N', 1)";
  const std::string order =
      "INSERT INTO PEDVENDA (NUM_PV, DATA_PV, TIPO_PV, CODCLI_PV, FILIAL_PV) "
      "VALUES (:PEDIDO, CURRENT_DATE, 'N', 1201, 1)";
  const std::string card =
      "INSERT INTO PRODUCAO (PROG_PR, FICHA_PR, QTDE_PR) VALUES (:PROG, :FICHA, 12)";
  const std::string item =
      "INSERT INTO ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PADRON_IT, PROG_IT, FICHA_IT, SIT_IT) "
      "VALUES (:PEDIDO, :ITEM, '1020', '001', :PROG, :FICHA, 'P')";
  const std::string sizes =
      "INSERT INTO ITENSPVGRADE (PEDIDO_IT, ITEM_IT, TAM_IT, QTPED_IT) "
      "VALUES (:PEDIDO, :ITEM, '39', 12)";
  const std::string posted =
      "INSERT INTO PRODUCAO_SETOR (ID_PS, PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, "
      "DTSAIDA_PS, HORASAIDA_PS, FUNCIONAR_PS, QTDE_PS, CODCXCOLET_PS, ID_SUBPROD_PS, "
      "TIPO_OPERACAO_SETOR_PS, TIPO_ATUALIZACAO_PS, DATA_BAIXA_MANUAL_PS) "
      "VALUES (0, :PROG, :FICHA, '0000', :SETOR, CURRENT_TIMESTAMP, '08:00', :FUNC, 12, 0, 0, "
      "'P', 'F', 'N')";
  for (int i = 0; i < count; ++i) {
    db::Params row;
    row.set("PROG", programmeOf(i));
    row.set("FICHA", cardNumberOf(i));
    row.set("PEDIDO", "8" + padded(i / kCardsPerProgramme, 7));
    row.set("ITEM", padded(i % kCardsPerProgramme + 1, 3));
    if (i % kCardsPerProgramme == 0) {
      connection.execute(programme, row);
      connection.execute(order, row);
    }
    connection.execute(card, row);
    connection.execute(item, row);
    connection.execute(sizes, row);
    connection.execute(posted, db::Params(row).set("SETOR", "10").set("FUNC", "001"));
    connection.execute(posted, db::Params(row).set("SETOR", "21").set("FUNC", "002"));
  }
}

}  // namespace

std::string postableCard(int number) {
  return programmeOf(number) + cardNumberOf(number) + "0000";
}

void generateFactory(const std::filesystem::path& database, const FactorySize& size) {
  std::filesystem::copy_file(test::demoFactoryTemplate(), database,
                             std::filesystem::copy_options::overwrite_existing);
  db::ConnectionSettings settings;
  settings.database = database.string();
  db::Connection connection(settings);
  // One transaction: the statements are prepared once and nothing is forced
  // to disk before the commit.
  connection.startTransaction();
  addEmployees(connection, size.employees);
  addPostings(connection, size.postings);
  addPostableCards(connection, size.cards);
  connection.commit();
}

}  // namespace mts::bench
