#include <gtest/gtest.h>

#include <string>

#include "ProductionDatabaseTest.h"

namespace mts::test {
namespace {

// Card 000123/0045 needs operations 10 and 20 in sector 02 and none in sector 01.
class SectorOperationsTest : public ProductionDatabaseTest {
 protected:
  void SetUp() override {
    ProductionDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    addSector("01", "CORTE", 1);
    addSector("02", "COSTURA", 2);
    addEmployee("001", "ANA", std::string("1001"), "02");
    addOperationCard(1, "000123", "0045", "02", "10");
    addOperationCard(2, "000123", "0045", "02", "20");
    addOperationCard(3, "000999", "0045", "02", "30");
  }

  // The request of an operation card as validation leaves it.
  static TDadosAtuProducao operation(const std::string& subCard, const std::string& code) {
    TDadosAtuProducao dados;
    dados.TipoAtualizacao = "O";
    dados.Setor = "02";
    dados.Funcionario = "001";
    dados.Prog = "000123";
    dados.Ficha = "0045";
    dados.SubFicha = subCard;
    dados.PossuiSubFicha = subCard != "0000";
    dados.Operacao = code;
    dados.DataHora = {2024, 3, 7, 8, 5, 9, 0};
    dados.Qtde = 24;
    return dados;
  }

  // What the card submission does for one scanned operation: record it, then
  // ask whether the set is complete.
  static bool record(TdmAtuProducao& module, const TDadosAtuProducao& dados) {
    module.DadosAtuProducao = dados;
    module.GravarProdSetorOperacao();
    return module.OperacoesSetorConcluidas();
  }
};

TEST_F(SectorOperationsTest, TheLastOperationCompletesTheSet) {
  auto module = createModule();
  EXPECT_FALSE(record(*module, operation("0001", "10")));
  EXPECT_TRUE(record(*module, operation("0001", "20")));

  const db::Row row = queryOne("select * from PRODUCAO_SETOR_OPERACAO where OPERACAO_SO = '20'");
  EXPECT_GT(row.integer("ID_SO"), 0);
  EXPECT_EQ(row.text("PROG_SO"), "000123");
  EXPECT_EQ(row.text("FICHA_SO"), "0045");
  EXPECT_EQ(row.text("SUBFICHA_SO"), "0001");
  EXPECT_EQ(row.text("SETOR_SO"), "02");
  EXPECT_EQ(row.text("FUNCIONARIO_SO"), "001");
  EXPECT_EQ(row.timestamp("DATA_ATUALIZACAO_SO"), (db::Timestamp{2024, 3, 7, 8, 5, 9, 0}));
  EXPECT_EQ(row.number("QTDE_SO"), 24);
}

TEST_F(SectorOperationsTest, EachSubCardCompletesItsOwnSet) {
  auto module = createModule();
  EXPECT_FALSE(record(*module, operation("0001", "10")));
  EXPECT_FALSE(record(*module, operation("0002", "20")));
  EXPECT_TRUE(record(*module, operation("0001", "20")));
  EXPECT_FALSE(record(*module, operation("0000", "10")));
  EXPECT_TRUE(record(*module, operation("0002", "10")));
  EXPECT_EQ(count("PRODUCAO_SETOR_OPERACAO"), 5);
}

TEST_F(SectorOperationsTest, AnOperationIsRecordedOnlyOnce) {
  auto module = createModule();
  record(*module, operation("0001", "10"));
  TDadosAtuProducao again = operation("0001", "10");
  again.Funcionario = "002";
  EXPECT_FALSE(record(*module, again));
  EXPECT_EQ(count("PRODUCAO_SETOR_OPERACAO"), 1);
  EXPECT_EQ(queryOne("select FUNCIONARIO_SO from PRODUCAO_SETOR_OPERACAO").text("FUNCIONARIO_SO"),
            "001");
}

TEST_F(SectorOperationsTest, RefusedRowRaisesAndIsNotCounted) {
  auto module = createModule();
  record(*module, operation("0001", "10"));
  TDadosAtuProducao refused = operation("0001", "20");
  refused.Funcionario = "1234";  // FUNCIONARIO_SO holds three characters
  module->DadosAtuProducao = refused;
  EXPECT_THROW(module->GravarProdSetorOperacao(), db::DatabaseError);
  EXPECT_FALSE(module->OperacoesSetorConcluidas());
  EXPECT_EQ(count("PRODUCAO_SETOR_OPERACAO"), 1);

  // Scanned again by a valid employee, it completes the set.
  EXPECT_TRUE(record(*module, operation("0001", "20")));
}

TEST_F(SectorOperationsTest, SectorWithoutRequiredOperationsIsComplete) {
  auto module = createModule();
  TDadosAtuProducao dados = operation("0001", "10");
  dados.Setor = "01";
  module->DadosAtuProducao = dados;
  module->AbrirProdSetorOperacao();
  EXPECT_TRUE(module->OperacoesSetorConcluidas());
}

TEST_F(SectorOperationsTest, CompletenessReadsTheLastLoadedOperations) {
  // Operations recorded elsewhere count once the card's operations are loaded again.
  insert("PRODUCAO_SETOR_OPERACAO", {{"ID_SO", 0},
                                     {"PROG_SO", std::string("000123")},
                                     {"FICHA_SO", std::string("0045")},
                                     {"SUBFICHA_SO", std::string("0001")},
                                     {"SETOR_SO", std::string("02")},
                                     {"OPERACAO_SO", std::string("10")}});
  auto module = createModule();
  module->DadosAtuProducao = operation("0001", "20");
  EXPECT_FALSE(module->OperacoesSetorConcluidas());
  module->AbrirProdSetorOperacao();
  EXPECT_FALSE(module->OperacoesSetorConcluidas());
  insert("PRODUCAO_SETOR_OPERACAO", {{"ID_SO", 0},
                                     {"PROG_SO", std::string("000123")},
                                     {"FICHA_SO", std::string("0045")},
                                     {"SUBFICHA_SO", std::string("0001")},
                                     {"SETOR_SO", std::string("02")},
                                     {"OPERACAO_SO", std::string("20")}});
  module->AbrirProdSetorOperacao();
  EXPECT_TRUE(module->OperacoesSetorConcluidas());
}

TEST_F(SectorOperationsTest, SectorNamesAreLookedUpByExactCode) {
  addSector("09", "EXPEDICAO", 9, "P", /*inSequence=*/false);
  auto module = createModule();
  EXPECT_EQ(module->NomeSetor("02"), "COSTURA");
  EXPECT_EQ(module->NomeSetor("09"), "EXPEDICAO");
  EXPECT_EQ(module->NomeSetor("2"), "");
  EXPECT_EQ(module->NomeSetor(""), "");
}

}  // namespace
}  // namespace mts::test
