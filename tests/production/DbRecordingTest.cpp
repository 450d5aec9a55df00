#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ProductionDatabaseTest.h"
#include "RecordingData.h"
#include "production/stock/ELancProducaoEstoqueException.h"

namespace mts::test {
namespace {

using namespace recording;
using Lines = std::vector<std::string>;
using Trace = std::map<std::string, std::string>;

// Sectors: 10 plain, 20 releases items and posts stock, 30 marks complete
// cards' items as in stock, 40 does both.
class RecordingTest : public ProductionDatabaseTest {
 public:
  static void SetUpTestSuite() {
    ProductionDatabaseTest::SetUpTestSuite();
    installEntryFault(connection());
  }

 protected:
  void SetUp() override {
    ProductionDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    resetFactory();
  }

  void resetFactory() {
    module.reset();
    clearTables(connection());
    setEntryFault(connection(), false);
    addCard(connection());
    addStockSector(connection(), "10", 1, "N", "N");
    addStockSector(connection(), "20", 2, "S", "N");
    addStockSector(connection(), "30", 3, "N", "S");
    addStockSector(connection(), "40", 4, "S", "S");
    module = createModule();
  }

  void record(const TDadosAtuProducao& dados) {
    module->DadosAtuProducao = dados;
    module->GravarAtuProducao();
  }

  static TDadosAtuProducao label(int code, const std::string& talao, const std::string& sector) {
    TDadosAtuProducao dados = wholeCard(sector, 10);
    dados.TipoAtualizacao = "T";
    dados.CodCxColet = code;
    dados.SubFicha = talao;
    dados.PossuiSubFicha = true;
    dados.VerificaLiberacaoItemTalao = true;
    return dados;
  }

  static std::string sectorRow(const db::Row& row) {
    return row.text("PROG_PS") + "|" + row.text("FICHA_PS") + "|" + row.text("SUBFICHA_PS") + "|" +
           row.text("SETOR_PS") + "|" + row.text("FUNCIONAR_PS") + "|" +
           row.text("TIPO_OPERACAO_SETOR_PS") + "|" + row.text("TIPO_ATUALIZACAO_PS") + "|" +
           row.text("QTDE_PS") + "|" + row.text("CODCXCOLET_PS") + "|" + row.text("ID_SUBPROD_PS") +
           "|" + row.text("DATA_BAIXA_MANUAL_PS") + "|in " + row.text("DTENTRADA_PS") + " " +
           row.text("HORAENTRADA_PS") + "|out " + row.text("DTSAIDA_PS") + " " +
           row.text("HORASAIDA_PS");
  }
  static Lines sectorRows() {
    Lines rows;
    for (const db::Row& row : query("select * from PRODUCAO_SETOR order by ID_PS")) {
      EXPECT_GT(row.integer("ID_PS"), 0);
      rows.push_back(sectorRow(row));
    }
    return rows;
  }
  static std::string itemStatus(const std::string& item) {
    return queryOne("select SIT_IT from ITENSPV where ITEM_IT = :I", {{"I", item}}).text("SIT_IT");
  }

  std::unique_ptr<TdmAtuProducao> module;
};

TEST_F(RecordingTest, EachCardKindWritesItsSectorRow) {
  TDadosAtuProducao box = label(900, "0003", "10");
  box.VerificaLiberacaoItemTalao = false;
  TDadosAtuProducao subProduction = wholeCard("10", 8);
  subProduction.TipoAtualizacao = "I";
  subProduction.IdSubProd = 55;
  subProduction.SubFicha = "0002";
  subProduction.PossuiSubFicha = true;
  TDadosAtuProducao entry = wholeCard("10");
  entry.BaixaSetorEntrada = true;
  entry.CampoData = "DTENTRADA_PS";
  entry.CampoHora = "HORAENTRADA_PS";
  entry.DataHora = {2026, 12, 10, 23, 59, 59, 9999};
  struct Case {
    const char* name;
    TDadosAtuProducao dados;
    std::string row;
  };
  const std::vector<Case> cases = {
      {"whole card, plain mode", wholeCard("10"),
       "000123|0001|0000|10|007|P|F|30|0|0|N|in  |out 10/12/2026 07:05:59 07:05"},
      {"box label", box,
       "000123|0001|0003|10|007|P|T|10|900|0|N|in  |out 10/12/2026 07:05:59 07:05"},
      {"sub-production label", subProduction,
       "000123|0001|0002|10|007|P|I|8|0|55|N|in  |out 10/12/2026 07:05:59 07:05"},
      {"first posting in entry/exit mode", entry,
       "000123|0001|0000|10|007|P|F|30|0|0|N|in 10/12/2026 23:59:59 23:59|out  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    execute("delete from PRODUCAO_SETOR");
    record(c.dados);
    EXPECT_EQ(sectorRows(), Lines{c.row});
    EXPECT_FALSE(connection().inTransaction());
  }
}

TEST_F(RecordingTest, ExitCompletesTheOpenRowAndKeepsItsEntryValues) {
  TDadosAtuProducao entry = wholeCard("10");
  entry.BaixaSetorEntrada = true;
  entry.CampoData = "DTENTRADA_PS";
  entry.CampoHora = "HORAENTRADA_PS";
  record(entry);

  TDadosAtuProducao exit = wholeCard("10", 25);
  exit.BaixaSetorEntrada = true;
  exit.Funcionario = "008";
  exit.DataHora = {2026, 12, 10, 16, 45, 10, 0};
  record(exit);
  EXPECT_EQ(sectorRows(), Lines{"000123|0001|0000|10|007|P|F|30|0|0|N|in 10/12/2026 07:05:59 "
                                "07:05|out 10/12/2026 16:45:10 16:45"});

  // With partial postings every posting is an exit: once no row is open, each
  // gets a row of its own and no exit time is overwritten.
  exit.DataHora = {2026, 12, 11, 8, 0, 0, 0};
  record(exit);
  const Lines rows = sectorRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[0].find("out 10/12/2026 16:45:10 16:45"), std::string::npos);
  EXPECT_EQ(rows[1], "000123|0001|0000|10|008|P|F|25|0|0|N|in  |out 11/12/2026 08:00:00 08:00");
}

TEST_F(RecordingTest, ARowTheDatabaseRefusesStopsTheCardBeforeAnythingElse) {
  TDadosAtuProducao tooLong = wholeCard("40");
  tooLong.Funcionario = "0071";  // FUNCIONAR_PS holds 3 characters
  EXPECT_THROW(record(tooLong), db::DatabaseError);
  TDadosAtuProducao badColumn = wholeCard("40");
  badColumn.CampoData = "QTDE_PS";
  EXPECT_THROW(record(badColumn), std::invalid_argument);
  // A card that cannot be posted to stock: nothing of it is written either.
  TDadosAtuProducao noProgramme = wholeCard("40");
  noProgramme.Prog = "";
  try {
    record(noProgramme);
    ADD_FAILURE() << "recorded";
  } catch (const ELancProducaoEstoqueException& error) {
    EXPECT_STREQ(error.what(),
                 "Os parametros Programacao/Ficha n\xE3o for\xE3o informados corretamente.");
  }

  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(cardTrace(connection()), (Trace{{"PRODUCAO_SETOR", "0"},
                                            {"ENTRADAMP", "0"},
                                            {"PRODUCAO_ESTOQUE", "0"},
                                            {"PROD_ITEM_ESTOQUE", "0"},
                                            {"LOG_ALTERACAO", "0"},
                                            {"SIT_IT 001", "P"},
                                            {"SIT_IT 002", "P"}}));
}

TEST_F(RecordingTest, WholeCardGoesToStockOnlyInAReleasingSectorWithABranch) {
  struct Case {
    const char* name;
    std::string sector;
    int branch;
    Lines entries;
    bool stockModule;
  };
  const std::vector<Case> cases = {
      {"releasing sector", "20", 1, {"001 37 10", "001 38 10", "002 38 10"}, true},
      {"sector without LIBERAR_SE", "10", 1, {}, false},
      {"stock branch 0", "20", 0, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    resetFactory();
    TDadosAtuProducao dados = wholeCard(c.sector);
    dados.FilialEstoque = c.branch;
    record(dados);
    EXPECT_EQ(entries(connection()), c.entries);
    EXPECT_EQ(module->EstoqueProducao() != nullptr, c.stockModule);
    record(dados);  // the same card again enters nothing more
    EXPECT_EQ(entries(connection()), c.entries);
  }
}

TEST_F(RecordingTest, BoxLabelWithoutReleaseIsPostedAsItsSubCard) {
  insert("SUBPROD", {{"ID_PR", 1},
                     {"PROG_PR", kProg},
                     {"FICHA_PR", kFicha},
                     {"SUBFICHA_PR", std::string("0003")},
                     {"TAMA_PR", std::string("38")},
                     {"QTDE_PR", 4}});
  addLabel(connection(), 901, "001", "0003");
  TDadosAtuProducao dados = label(901, "0003", "20");
  dados.VerificaLiberacaoItemTalao = false;
  record(dados);
  EXPECT_EQ(entries(connection()), Lines{"001 38 4"});
  EXPECT_EQ(count("PRODUCAO_ESTOQUE", "SUBFICHA_ES = '0003'"), 1);
  EXPECT_EQ(itemStatus("001"), "P");
  EXPECT_EQ(count("LOG_ALTERACAO"), 0);
}

TEST_F(RecordingTest, LastBoxLabelOfAnItemReleasesItAndPostsItsPairs) {
  addLabel(connection(), 901, "001", "0001");
  addLabel(connection(), 902, "001", "0002");
  addLabel(connection(), 903, "001", "0003");
  addLabel(connection(), 911, "002", "0004");

  record(label(901, "0001", "20"));
  record(label(902, "0002", "20"));
  EXPECT_EQ(itemStatus("001"), "P");
  EXPECT_EQ(count("LOG_ALTERACAO") + count("ENTRADAMP"), 0);

  record(label(903, "0003", "20"));
  EXPECT_EQ(itemStatus("001"), "L");
  EXPECT_EQ(itemStatus("002"), "P");
  const db::Row log = queryOne("select * from LOG_ALTERACAO");
  EXPECT_EQ(log.text("CHAVE_LA"), "PED1|001");
  EXPECT_EQ(log.text("ARQ_LA") + " " + log.text("CAMPO_LA"), "ITENSPV SIT_IT");
  EXPECT_EQ(log.text("USUARIO_LA"), "FUNC:007");
  EXPECT_EQ(log.timestamp("DATA_LA"), kServerTime);
  EXPECT_EQ(log.text("VRANT_LA"), "LIBERA\xC7\xC3O AUTOM\xC1TICA PELA ATUALIZA\xC7\xC3O DO TALAO");
  EXPECT_EQ(log.text("VRATU_LA"), "L");
  EXPECT_EQ(entries(connection()), (Lines{"001 37 10", "001 38 10"}));
  EXPECT_EQ(count("PRODUCAO_ESTOQUE",
                  "PEDIDO_ES = 'PED1' and PROG_ES = '' and FICHA_ES = '' and "
                  "SUBFICHA_ES = '' and CODIGO_CXCOLET_ES = 0"),
            2);
  EXPECT_EQ(count("PRODUCAO_SETOR", "SETOR_PS = '20'"), 3);
}

TEST_F(RecordingTest, ReleaseVariants) {
  struct Case {
    const char* name;
    std::string situation;
    bool cancelledLabel;
    std::string sector;
    int branch;
    std::string expectedSituation;
    int logs;
    Lines entries;
  };
  const std::vector<Case> cases = {
      {"invoiced item: no change, no log, still posted",
       "F",
       false,
       "20",
       1,
       "F",
       0,
       {"001 37 10", "001 38 10"}},
      {"cancelled label never posted", "P", true, "20", 1, "P", 0, {}},
      {"sector without LIBERAR_SE", "P", false, "10", 1, "P", 0, {}},
      {"stock branch 0: released and logged only", "P", false, "20", 0, "L", 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    resetFactory();
    execute("update ITENSPV set SIT_IT = :S where ITEM_IT = '001'", {{"S", c.situation}});
    addLabel(connection(), 901, "001", "0001");
    if (c.cancelledLabel) addLabel(connection(), 902, "001", "0002", true);
    TDadosAtuProducao dados = label(901, "0001", c.sector);
    dados.FilialEstoque = c.branch;
    record(dados);
    EXPECT_EQ(itemStatus("001"), c.expectedSituation);
    EXPECT_EQ(count("LOG_ALTERACAO"), c.logs);
    EXPECT_EQ(entries(connection()), c.entries);
  }
}

TEST_F(RecordingTest, ItemsOfACompleteCardAreMarkedInStock) {
  addItem(connection(), "003", {{"39", 5}}, "L");
  addItem(connection(), "004", {{"39", 5}}, "P", std::string("X"));  // card total: 40 pairs
  TDadosAtuProducao half = wholeCard("30", 20);
  half.TipoAtualizacao = "S";
  half.SubFicha = "0001";
  half.PossuiSubFicha = true;
  record(half);
  EXPECT_EQ(itemStatus("001") + itemStatus("002"), "PP");
  EXPECT_FALSE(module->FichaCompletaNoSetor(kProg, kFicha, "30"));

  half.SubFicha = "0002";
  record(half);
  EXPECT_EQ(itemStatus("001") + itemStatus("002") + itemStatus("003") + itemStatus("004"), "EELP");
  EXPECT_TRUE(module->FichaCompletaNoSetor(kProg, kFicha, "30"));
  EXPECT_EQ(count("LOG_ALTERACAO"), 0);

  // More than the card's pairs is not complete.
  record(wholeCard("10", 45));
  EXPECT_FALSE(module->FichaCompletaNoSetor(kProg, kFicha, "10"));
}

TEST_F(RecordingTest, ACardWhoseStockPostingFailsLeavesNothingAndIsRecordedWholeOnRescan) {
  const Trace before = cardTrace(connection());
  setEntryFault(connection(), true);
  EXPECT_THROW(record(wholeCard("40")), db::DatabaseError);
  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(cardTrace(connection()), before);

  setEntryFault(connection(), false);
  record(wholeCard("40"));
  EXPECT_EQ(cardTrace(connection()), (Trace{{"PRODUCAO_SETOR", "1"},
                                            {"ENTRADAMP", "3"},
                                            {"PRODUCAO_ESTOQUE", "3"},
                                            {"PROD_ITEM_ESTOQUE", "2"},
                                            {"LOG_ALTERACAO", "0"},
                                            {"SIT_IT 001", "E"},
                                            {"SIT_IT 002", "E"}}));
}

TEST_F(RecordingTest, ABoxLabelWhoseReleaseFailsLeavesNothingAndIsRecordedWholeOnRescan) {
  addLabel(connection(), 901, "001", "0001");
  addLabel(connection(), 902, "001", "0002");
  record(label(901, "0001", "40"));
  const Trace before = cardTrace(connection());

  setEntryFault(connection(), true);
  EXPECT_THROW(record(label(902, "0002", "40")), db::DatabaseError);
  EXPECT_EQ(cardTrace(connection()), before);

  setEntryFault(connection(), false);
  record(label(902, "0002", "40"));
  EXPECT_EQ(cardTrace(connection()), (Trace{{"PRODUCAO_SETOR", "2"},
                                            {"ENTRADAMP", "2"},
                                            {"PRODUCAO_ESTOQUE", "2"},
                                            {"PROD_ITEM_ESTOQUE", "2"},
                                            {"LOG_ALTERACAO", "1"},
                                            {"SIT_IT 001", "L"},
                                            {"SIT_IT 002", "P"}}));
}

TEST_F(RecordingTest, AnOperationStaysRecordedWhenItsCardFailsToRecord) {
  addOperationCard(1, kProg, kFicha, "40", "10");
  TDadosAtuProducao operation = wholeCard("40");
  operation.TipoAtualizacao = "O";
  operation.Operacao = "10";
  module->DadosAtuProducao = operation;
  module->GravarProdSetorOperacao();
  ASSERT_TRUE(module->OperacoesSetorConcluidas());

  // Every operation is done: the card itself is recorded next, and fails.
  setEntryFault(connection(), true);
  EXPECT_THROW(record(wholeCard("40")), db::DatabaseError);
  EXPECT_EQ(count("PRODUCAO_SETOR_OPERACAO"), 1);
  EXPECT_EQ(count("PRODUCAO_SETOR"), 0);
}

}  // namespace
}  // namespace mts::test
