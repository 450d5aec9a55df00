// What the server relies on in the factory database beyond table and column
// names: identifiers of rows inserted with 0, updates by the posting's key alone,
// the change-log procedure, the generators and the one CONFIG row.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "FactoryStatements.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "support/FactoryDatabaseTest.h"

namespace mts::schematest {
namespace {

using mts::db::Params;
using mts::db::Timestamp;

const Timestamp kPostingTime{2025, 3, 10, 7, 5, 59, 0};

// A posting of card 000101/0001 in sector 30 that fills the date and hour columns
// named (the exit pair "DTSAIDA_PS"/"HORASAIDA_PS" or the entry pair).
Params postingRow(const std::string& subCard, const std::string& dateColumn,
                  const std::string& hourColumn) {
  Params row{{"PROG_PS", "000101"},
             {"FICHA_PS", "0001"},
             {"SUBFICHA_PS", subCard},
             {"SETOR_PS", "30"},
             {"FUNCIONAR_PS", "004"},
             {"TIPO_OPERACAO_SETOR_PS", "P"},
             {"TIPO_ATUALIZACAO_PS", "F"},
             {"QTDE_PS", 12.0},
             {"CODCXCOLET_PS", 0},
             {"ID_SUBPROD_PS", 0},
             {"ID_PS", 0},
             {"DATA_BAIXA_MANUAL_PS", "N"}};
  row.set(dateColumn, kPostingTime);
  row.set(hourColumn, "07:05");
  return row;
}

Params exitPosting(const std::string& subCard) {
  return postingRow(subCard, "DTSAIDA_PS", "HORASAIDA_PS");
}

Params entryPosting() {
  return postingRow("0000", "DTENTRADA_PS", "HORAENTRADA_PS");
}

// A recorded operation is appended to a dataset and written by its provider,
// which names every field of the row.
constexpr const char* kOperationInsert =
    "insert into PRODUCAO_SETOR_OPERACAO (ID_SO, PROG_SO, FICHA_SO, SUBFICHA_SO, SETOR_SO, "
    "OPERACAO_SO, FUNCIONARIO_SO, DATA_ATUALIZACAO_SO, QTDE_SO) values (:ID_SO, :PROG_SO, "
    ":FICHA_SO, :SUBFICHA_SO, :SETOR_SO, :OPERACAO_SO, :FUNCIONARIO_SO, :DATA_ATUALIZACAO_SO, "
    ":QTDE_SO)";

Params operationRow(const std::string& operation) {
  return Params{{"ID_SO", 0},
                {"PROG_SO", "000101"},
                {"FICHA_SO", "0004"},
                {"SUBFICHA_SO", "0000"},
                {"SETOR_SO", "30"},
                {"OPERACAO_SO", operation},
                {"FUNCIONARIO_SO", "004"},
                {"DATA_ATUALIZACAO_SO", kPostingTime},
                {"QTDE_SO", 24.0}};
}

Params cutCardPosting(const std::string& sector) {
  return Params{{"ID_FICHA_CORTE", 51},
                {"SETOR", sector},
                {"FUNCIONARIO", "001"},
                {"DATA_SAIDA", kPostingTime}};
}

// Every test writes rows and counts them: each gets a fresh database.
class FactoryDatabaseContract : public mts::test::FactoryDatabaseTest {
 protected:
  void SetUp() override {
    openSuiteDatabase(mts::test::factorySchema());
    FactoryDatabaseTest::SetUp();
  }

  static int run(std::string_view statementName, const Params& params = {}) {
    return execute(factoryStatement(statementName).sql, params);
  }
};

TEST_F(FactoryDatabaseContract, RowsInsertedWithZeroAsIdentifierGetFreshOnes) {
  struct Case {
    std::string what;
    std::string sql;
    std::vector<Params> rows;
    std::string identifiers;
  };
  const auto sql = [](std::string_view name) { return factoryStatement(name).sql; };
  const std::vector<Case> cases{
      {"sector posting",
       sql("SectorPostingRecorder.insert exit"),
       {exitPosting("0000"), exitPosting("0001")},
       "select ID_PS as ID from PRODUCAO_SETOR"},
      {"recorded operation",
       kOperationInsert,
       {operationRow("0101"), operationRow("0102")},
       "select ID_SO as ID from PRODUCAO_SETOR_OPERACAO"},
      {"cut card posting",
       sql("CutCards.sqlFichaCorteAtu"),
       {cutCardPosting("10"), cutCardPosting("21")},
       "select ID_FS as ID from FICHA_CORTE_ATU_SETOR"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& row : c.rows) EXPECT_EQ(execute(c.sql, row), 1);
    std::set<int> identifiers;
    for (const auto& row : query(c.identifiers)) {
      EXPECT_GT(row.integer("ID"), 0);
      identifiers.insert(row.integer("ID"));
    }
    EXPECT_EQ(identifiers.size(), c.rows.size()) << "identifiers must differ";
  }
}

TEST_F(FactoryDatabaseContract, ExitOfAPostingChangesOnlyTheRowWithThatKey) {
  // Two postings that differ in nothing but their identifier.
  run("SectorPostingRecorder.insert entry", entryPosting());
  run("SectorPostingRecorder.insert entry", entryPosting());
  const auto before = query("select ID_PS from PRODUCAO_SETOR order by ID_PS");
  ASSERT_EQ(before.size(), 2u);
  const int exited = before[1].integer("ID_PS");

  const Timestamp exitTime{2025, 3, 10, 16, 40, 12, 0};
  EXPECT_EQ(run("SectorPostingRecorder.update exit",
                {{"DTSAIDA_PS", exitTime}, {"HORASAIDA_PS", "16:40"}, {"ID_PS", exited}}),
            1);

  const auto rows = query(
      "select ID_PS, DTSAIDA_PS, HORASAIDA_PS, HORAENTRADA_PS, FUNCIONAR_PS from PRODUCAO_SETOR "
      "order by ID_PS");
  EXPECT_TRUE(rows[0].isNull("DTSAIDA_PS"));
  EXPECT_EQ(rows[1].timestamp("DTSAIDA_PS"), exitTime);
  EXPECT_EQ(rows[1].text("HORASAIDA_PS"), "16:40");
  EXPECT_EQ(rows[1].text("HORAENTRADA_PS"), "07:05");
  EXPECT_EQ(rows[1].text("FUNCIONAR_PS"), "004");
}

TEST_F(FactoryDatabaseContract, ChangeLogProcedureRecordsOneFieldChange) {
  const std::string previous =
      "LIBERA\xC7\xC3O AUTOM\xC1TICA PELA ATUALIZA\xC7\xC3O DO TALAO";  // Windows-1252
  const Timestamp when{2025, 3, 10, 16, 41, 0, 0};
  run("ItemRelease.stpGravaLog", {{"CHAVE", "00004502|001"},
                                  {"ARQ", "ITENSPV"},
                                  {"CAMPO", "SIT_IT"},
                                  {"USUARIO", "FUNC:006"},
                                  {"DATA", when},
                                  {"VRANT", previous},
                                  {"VRATU", "L"}});

  const auto log = query(
      "select CHAVE_LA, ARQ_LA, CAMPO_LA, USUARIO_LA, DATA_LA, VRANT_LA, VRATU_LA "
      "from LOG_ALTERACAO");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text("CHAVE_LA"), "00004502|001");
  EXPECT_EQ(log[0].text("ARQ_LA"), "ITENSPV");
  EXPECT_EQ(log[0].text("CAMPO_LA"), "SIT_IT");
  EXPECT_EQ(log[0].text("USUARIO_LA"), "FUNC:006");
  EXPECT_EQ(log[0].timestamp("DATA_LA"), when);
  EXPECT_EQ(log[0].text("VRANT_LA"), previous);
  EXPECT_EQ(log[0].text("VRATU_LA"), "L");
}

TEST_F(FactoryDatabaseContract, StockGeneratorsGiveTheNextValueAtEachRead) {
  for (const char* name : {"TdmEstoqueProducao.ProximoId production stock",
                           "TdmEstoqueProducao.ProximoId stock item"}) {
    SCOPED_TRACE(name);
    const std::string& sql = factoryStatement(name).sql;
    const auto first = query(sql).front().bigint("GEN_ID");
    const auto second = query(sql).front().bigint("GEN_ID");
    EXPECT_GT(first, 0);
    EXPECT_EQ(second, first + 1);
  }
}

TEST_F(FactoryDatabaseContract, ConfigHasExactlyOneRow) {
  EXPECT_EQ(query(factoryStatement("ParameterReader.sqlConfig").sql).size(), 1u);
  EXPECT_EQ(query(factoryStatement("ServerClock.sqlDataHora_Servidor").sql).size(), 1u);
  EXPECT_THROW(execute("insert into CONFIG (NOME_EMPRESA) values ('LUMORA')"),
               mts::db::DatabaseError);
  execute("update CONFIG set NOME_EMPRESA = 'LUMORA'");
  EXPECT_EQ(query("select NOME_EMPRESA from CONFIG").front().text("NOME_EMPRESA"), "LUMORA");
}

}  // namespace
}  // namespace mts::schematest
