// The demo factory (db/demo.sql) must give a person at a terminal every kind of
// card and the common refusals that db/README.md lists: its codes must fit the
// code layout in PARAM, the server's own look-ups must find the rows behind them,
// and its texts must be Windows-1252.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "DemoDatabase.h"
#include "FactoryStatements.h"
#include "dataaccess/firebird/Connection.h"

namespace mts::schematest {
namespace {

using mts::db::Params;

class DemoFactory : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    try {
      database_ = std::make_unique<DemoDatabase>();
      connection_ = std::make_unique<mts::db::Connection>(database_->settings());
    } catch (const std::exception& error) {
      setupError_ = error.what();
    }
  }
  static void TearDownTestSuite() {
    connection_.reset();
    database_.reset();
  }
  void SetUp() override {
    ASSERT_NE(connection_, nullptr) << "the demo database could not be made";
  }

  static mts::db::ResultSet run(std::string_view statementName, const Params& params = {}) {
    return connection_->query(factoryStatement(statementName).sql, params);
  }

  static int parameter(const std::string& name) {
    const auto rows = run("ParameterReader.sqlParam", {{"GRUPO", "ATU_PRODUCAO"}, {"PARAM", name}});
    return rows.empty() ? 0 : std::stoi(rows.front().text("VALOR_PA"));
  }

  static inline std::unique_ptr<DemoDatabase> database_;
  static inline std::unique_ptr<mts::db::Connection> connection_;
  static inline std::string setupError_;
};

// The piece of a card code at a 1-based position, or "" when the code is too short.
std::string cut(const std::string& code, int position, int length) {
  if (position < 1 || length < 1 || code.size() < static_cast<std::size_t>(position + length - 1)) {
    return "";
  }
  return code.substr(position - 1, length);
}

TEST_F(DemoFactory, ProductionCardCodesCutIntoExistingCards) {
  struct Case {
    std::string code, programme, card, subCard, sector;
  };
  const std::vector<Case> cases{
      {"00010100010000", "000101", "0001", "0000", ""},
      {"00010100020001", "000101", "0002", "0001", ""},
      {"00010100020002", "000101", "0002", "0002", ""},
      {"0001010001000030", "000101", "0001", "0000", "30"},
      {"00009900010000", "000099", "0001", "0000", ""},
      {"00010200010000", "000102", "0001", "0000", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const std::string programme = cut(c.code, parameter("PROG_POSINI"), parameter("PROG_TAM"));
    const std::string card = cut(c.code, parameter("FICHA_POSINI"), parameter("FICHA_TAM"));
    const std::string subCard =
        cut(c.code, parameter("SUBFICHA_POSINI"), parameter("SUBFICHA_TAM"));
    const std::string sector = cut(c.code, parameter("SETOR_POSINI"), parameter("SETOR_TAM"));
    EXPECT_EQ(programme, c.programme);
    EXPECT_EQ(card, c.card);
    EXPECT_EQ(subCard, c.subCard);
    EXPECT_EQ(sector, c.sector);
    EXPECT_FALSE(run("CardKindChecks.sqlProg", {{"PROG", programme}, {"FICHA", card}}).empty());
    if (subCard != "0000") {
      EXPECT_FALSE(run("CardKindChecks.sqlSubP",
                       {{"PROG", programme}, {"FICHA", card}, {"SUBFICHA", subCard}})
                       .empty());
    }
  }
}

TEST_F(DemoFactory, LabelCodesFindTheirRowsThroughTheServerLookups) {
  struct Case {
    std::string code;
    std::string idFromCode;  // the digits the server converts to the label's id
    std::string statement;
    std::string idParameter;
    std::vector<std::pair<std::string, std::string>> expected;
  };
  const std::string code10 = "1000030100";
  const std::vector<Case> cases{
      {code10,
       code10.substr(1, code10.size() - 3),
       "CardIdentification.sqlCodCxCol",
       "COD",
       {{"TALAO_CX", "0001"}, {"PROG_IT", "000101"}, {"FICHA_IT", "0003"}, {"QTDEPAR_CX", "12"}}},
      {"100000203",
       std::string("100000203").substr(1, 8),
       "CardIdentification.sqlCodSubProd",
       "COD",
       {{"PROG_PR", "000101"}, {"FICHA_PR", "0002"}, {"SUBFICHA_PR", "0002"}}},
      {"OP00000000071",
       std::string("OP00000000071").substr(6, 7),
       "CardIdentification.sqlProdOpSetor",
       "ID_PROD_OP_SETOR",
       {{"SETOR_OS", "30"},
        {"OPERACAO_OS", "0101"},
        {"FICHA_IT", "0004"},
        {"DESC_OPERACAO", "MONTAR BICO"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const auto rows = run(c.statement, {{c.idParameter, std::stoi(c.idFromCode)}});
    ASSERT_EQ(rows.size(), 1u);
    for (const auto& [column, value] : c.expected) EXPECT_EQ(rows.front().text(column), value);
  }

  const std::string cutCard = "280000000051";
  ASSERT_EQ(cut(cutCard, 1, 2), "28");
  const auto card = run("CutCards.sqlFichaCorte",
                        {{"ID_FICHA", std::stoi(cut(cutCard, 3, 10))}, {"SETOR", "10"}});
  ASSERT_EQ(card.size(), 1u);
  EXPECT_EQ(card.front().integer("QTDE_TOT_FC"), 12);
  EXPECT_TRUE(card.front().isNull("DATA_ATU"));
  EXPECT_TRUE(card.front().isNull("DATA_CANCELAMENTO_FC"));
}

TEST_F(DemoFactory, RefusalsHaveTheRowsThatCauseThem) {
  struct Case {
    std::string what;
    std::string sql;
    Params params;
    std::string column;
    std::optional<std::string> expected;  // nullopt: the look-up finds nothing
  };
  const auto sql = [](std::string_view name) { return factoryStatement(name).sql; };
  const std::vector<Case> cases{
      {"cancelled box label",
       sql("CardIdentification.sqlCodCxCol"),
       {{"COD", 304}},
       "",
       std::nullopt},
      {"cancelled cut card",
       sql("CutCards.sqlFichaCorte"),
       {{"ID_FICHA", 52}, {"SETOR", "10"}},
       "DATA_CANCELAMENTO_FC",
       "04/03/2025 10:15:00"},
      {"cut card already cut",
       sql("CutCards.sqlFichaCorte"),
       {{"ID_FICHA", 53}, {"SETOR", "10"}},
       "NOME_FUNC",
       "JO\xC3O BATISTA DA SILVA"},
      {"same cut card open in stitching",
       sql("CutCards.sqlFichaCorte"),
       {{"ID_FICHA", 53}, {"SETOR", "21"}},
       "DATA_ATU",
       ""},
      {"pending raw material",
       sql("ProductionOrderChecks.sqlBxReqSetorMp"),
       {{"PROG", "000102"}, {"FICHA", "0001"}, {"SETOR_MP", "90"}},
       "QTDE_REG",
       "1"},
      {"raw material all issued",
       sql("ProductionOrderChecks.sqlBxReqSetorMp"),
       {{"PROG", "000102"}, {"FICHA", "0002"}, {"SETOR_MP", "90"}},
       "QTDE_REG",
       "0"},
      {"closed programme",
       sql("ProductionOrderChecks.sqlProgEncerrada"),
       {{"PROG", "000099"}},
       "ENCERRADA_PO",
       "S"},
      {"operation cards still open",
       sql("ProductionOrderChecks.sqlFichaOpSetor"),
       {{"PROG", "000101"}, {"FICHA", "0004"}, {"SETOR", "30"}},
       "QTDE_REG",
       "2"},
      {"boot starts in assembly",
       sql("SectorSequence.sqlItensPv"),
       {{"PROG", "000101"}, {"FICHA", "0005"}},
       "SETOR_INICIAL",
       "30"},
      {"sandal skips stitching",
       sql("SectorSequence.sqlSetorProd") + " AND PS.CODIGO_SETOR_PS = '21'",
       {{"PROD", "2035"}},
       "",
       std::nullopt},
      {"stitching groups two sectors",
       "select count(*) as MEMBERS from SETOR where SETOR_AGRUP_SE = '20'",
       {},
       "MEMBERS",
       "2"},
      {"card 0001 stitched in 21",
       sql("SectorSequence.sqlSetAntAtu card"),
       {{"PROG", "000101"}, {"FICHA", "0001"}, {"SETOR", "21"}},
       "SETOR_PS",
       "21"},
      {"card 0001 already cut",
       sql("CardKindChecks.sqlFichaProdSetor"),
       {{"PROG", "000101"}, {"FICHA", "0001"}, {"SETOR", "10"}},
       "NUMREG",
       "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto rows = connection_->query(c.sql, c.params);
    if (!c.expected) {
      EXPECT_TRUE(rows.empty());
      continue;
    }
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().text(c.column), *c.expected);
  }
}

TEST_F(DemoFactory, BadgesCoverActiveInactiveAndSectorlessEmployees) {
  struct Case {
    std::string badge;
    std::optional<std::string> sector;  // nullopt: the badge logs nobody in
  };
  const std::vector<Case> cases{
      {"1001", "10"},         {"1002", "21"}, {"1004", "30"}, {"1006", "50"},
      {"1007", std::nullopt}, {"1008", ""},   {"1009", "90"}, {"1010", "20"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.badge);
    const auto rows = run("BadgeLookup.sqlFuncCracha", {{"CRACHA", c.badge}});
    std::optional<std::string> found;
    if (!rows.empty()) found = rows.front().text("SETOR_FUNC");
    EXPECT_EQ(found, c.sector);
  }

  bool withoutBadge = false;
  for (const auto& row : run("CachedLists.cdsFunc")) {
    withoutBadge = withoutBadge || row.isNull("CRACHA_FU");
  }
  EXPECT_TRUE(withoutBadge) << "an employee without badge is still named in messages";
}

TEST_F(DemoFactory, ProductionSequenceRunsFromCuttingToShipping) {
  std::vector<std::string> codes;
  std::string releasing, markingStock;
  for (const auto& row : run("CachedLists.cdsSetor")) {
    codes.push_back(row.text("COD_SE"));
    if (row.text("LIBERAR_SE") == "S") releasing += row.text("COD_SE");
    if (row.text("ATU_SIT_ITEM_ESTOQUE_SE") == "S") markingStock += row.text("COD_SE");
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"10", "20", "21", "22", "30", "40", "50", "60"}));
  EXPECT_EQ(releasing, "50");
  EXPECT_EQ(markingStock, "50");
}

TEST_F(DemoFactory, TextsAreWindows1252Bytes) {
  EXPECT_EQ(run("ParameterReader.sqlConfig").front().text("NOME_EMPRESA"),
            "CAL\xC7"
            "ADOS SERRA AZUL");
  EXPECT_EQ(run("SectorOperations.sqlNomeSetor", {{"CODIGO", "50"}}).front().text("NOME_SE"),
            "EXPEDI\xC7\xC3O");
}

}  // namespace
}  // namespace mts::schematest
