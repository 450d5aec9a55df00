#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dataaccess/Connection.h"
#include "production/TDadosAtuProducao.h"
#include "support/DatabaseRows.h"

// The factory rows that recording and stock posting tests work on, written
// through any connection (the suite's embedded one or a private server's).
namespace mts::test::recording {

inline const std::string kProg = "000123";
inline const std::string kFicha = "0001";
inline const std::string kPedido = "PED1";
inline const db::Timestamp kServerTime{2026, 12, 10, 7, 5, 59, 1234};

// Every table recording writes, and what feeds it.
inline const std::vector<std::string> kTables = {
    "PRODUCAO_SETOR", "ENTRADAMP",    "PRODUCAO_ESTOQUE", "PROD_ITEM_ESTOQUE",
    "LOG_ALTERACAO",  "ITENSPVGRADE", "PROGRAMACAO",      "PADRONIZ_PRODUTO",
    "FILIAL",         "CODCXUNIT",    "SUBPROD",          "CODCXCOLET",
    "ITENSPV",        "PEDVENDA",     "PRODUTO",          "SETOR",
    "PARAM"};

inline void clearTables(db::Connection& connection) {
  for (const std::string& table : kTables) connection.execute("delete from " + table);
}

// A sector in the production sequence with its release and item status flags.
inline void addStockSector(db::Connection& connection, const std::string& code, int order,
                           const std::string& liberar, const std::string& atuSitItem) {
  insertRow(connection, "SETOR",
            {{"COD_SE", code},
             {"NOME_SE", "SETOR " + code},
             {"SEQPROD_SE", std::string("S")},
             {"ORDEM_SE", order},
             {"TIPO_OPERACAO_SE", std::string("P")},
             {"LIBERAR_SE", liberar},
             {"ATU_SIT_ITEM_ESTOQUE_SE", atuSitItem}});
}

inline void addItem(db::Connection& connection, const std::string& item,
                    const std::vector<std::pair<std::string, int>>& sizes,
                    const std::string& situation = "P", const db::Value& status = db::Null{},
                    const std::string& product = "PR01") {
  insertRow(connection, "ITENSPV",
            {{"PEDIDO_IT", kPedido},
             {"ITEM_IT", item},
             {"PROD_IT", product},
             {"PADRON_IT", std::string("01")},
             {"PROG_IT", kProg},
             {"FICHA_IT", kFicha},
             {"SIT_IT", situation},
             {"STATUS_IT", status}});
  for (const auto& [size, pairs] : sizes) {
    insertRow(connection, "ITENSPVGRADE",
              {{"PEDIDO_IT", kPedido}, {"ITEM_IT", item}, {"TAM_IT", size}, {"QTPED_IT", pairs}});
  }
}

// Card 000123/0001 of order PED1 (branch 2, programme branch 3): item 001
// with 10 pairs in sizes 37 and 38, item 002 with 10 pairs in size 38.
inline void addCard(db::Connection& connection) {
  insertRow(connection, "PRODUTO",
            {{"COD_PR", std::string("PR01")}, {"DESC_PR", std::string("TENIS CASUAL")}});
  insertRow(connection, "PADRONIZ_PRODUTO",
            {{"PROD_PP", std::string("PR01")},
             {"PADRONIZ_PP", std::string("01")},
             {"DESC_PP", std::string("PRETO")}});
  insertRow(connection, "PEDVENDA", {{"NUM_PV", kPedido}, {"FILIAL_PV", 2}});
  insertRow(connection, "PROGRAMACAO", {{"NUM_PO", kProg}, {"FILIAL_PO", 3}});
  addItem(connection, "001", {{"37", 10}, {"38", 10}});
  addItem(connection, "002", {{"38", 10}});
}

// A box label of an order item; `cancelled` sets its cancellation date.
inline void addLabel(db::Connection& connection, int code, const std::string& item,
                     const std::string& talao, bool cancelled = false) {
  insertRow(connection, "CODCXCOLET",
            {{"CODIGO_CX", code},
             {"PEDIDO_CX", kPedido},
             {"ITEMPED_CX", item},
             {"TALAO_CX", talao},
             {"QTDEPAR_CX", 10},
             {"DATA_CANC_CX", cancelled ? db::Value(db::Timestamp{2026, 1, 2}) : db::Null{}}});
}

// An accepted request for the whole card, as validation leaves it in plain mode.
inline TDadosAtuProducao wholeCard(const std::string& sector, double pairs = 30) {
  TDadosAtuProducao dados;
  dados.Setor = sector;
  dados.Funcionario = "007";
  dados.TipoAtualizacao = "F";
  dados.TipoOperacaoSetor = "P";
  dados.Prog = kProg;
  dados.Ficha = kFicha;
  dados.SubFicha = "0000";
  dados.CampoData = "DTSAIDA_PS";
  dados.CampoHora = "HORASAIDA_PS";
  dados.DataHora = kServerTime;
  dados.Qtde = pairs;
  dados.FilialEstoque = 1;
  return dados;
}

// Rows of every table a card's recording writes, and the items' status.
inline std::map<std::string, std::string> cardTrace(db::Connection& connection) {
  std::map<std::string, std::string> trace;
  for (const char* table :
       {"PRODUCAO_SETOR", "ENTRADAMP", "PRODUCAO_ESTOQUE", "PROD_ITEM_ESTOQUE", "LOG_ALTERACAO"}) {
    trace[table] = std::to_string(countRows(connection, table));
  }
  for (const db::Row& row :
       connection.query("select ITEM_IT, SIT_IT from ITENSPV order by ITEM_IT")) {
    trace["SIT_IT " + row.text("ITEM_IT")] = row.text("SIT_IT");
  }
  return trace;
}

// A fault the tests switch on and off: while TEST_FAULT has a row 'S', every
// insert into ENTRADAMP fails. Installed before the suite prepares any
// statement, so that every statement sees the trigger.
inline void installEntryFault(db::Connection& connection) {
  connection.execute("create exception TEST_STOCK_FAULT 'stock entry refused by the test'");
  connection.execute("create table TEST_FAULT (ACTIVE varchar(1))");
  connection.execute(
      "create trigger TEST_ENTRADAMP_FAULT for ENTRADAMP active before insert position 10 as "
      "begin if (exists(select 1 from TEST_FAULT where ACTIVE = 'S')) then exception "
      "TEST_STOCK_FAULT; end");
}

inline void setEntryFault(db::Connection& connection, bool active) {
  connection.execute("delete from TEST_FAULT");
  if (active) connection.execute("insert into TEST_FAULT (ACTIVE) values ('S')");
}

// "item size quantity" of every stock entry with its production link, in item
// and size order.
inline std::vector<std::string> entries(db::Connection& connection) {
  std::vector<std::string> lines;
  for (const db::Row& row : connection.query(
           "select PE.ITEM_PED_ES, EMP.TAMANHO_EMP, EMP.QTDE_EMP from PRODUCAO_ESTOQUE PE "
           "join ENTRADAMP EMP on EMP.FILIAL_EMP = PE.FILIAL_EMP_ES and EMP.FORNEC_EMP = "
           "PE.FORNEC_EMP_ES and EMP.DOCTO_EMP = PE.DOCTO_EMP_ES and EMP.SERIE_EMP = "
           "PE.SERIE_EMP_ES and EMP.ITEM_EMP = PE.ITEM_EMP_ES and EMP.ORDEM_EMP = PE.ORDEM_EMP_ES "
           "order by PE.ITEM_PED_ES, EMP.TAMANHO_EMP, PE.ID_ES")) {
    lines.push_back(row.text("ITEM_PED_ES") + " " + row.text("TAMANHO_EMP") + " " +
                    row.text("QTDE_EMP"));
  }
  return lines;
}

}  // namespace mts::test::recording
