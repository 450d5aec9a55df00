#include <gtest/gtest.h>

#include <string>

#include "ProductionDatabaseTest.h"
#include "dataaccess/firebird/Connection.h"
#include "production/TdmAtuProducao.h"

namespace mts::test {
namespace {

class ProductionParametersTest : public ProductionDatabaseTest {};

TEST_F(ProductionParametersTest, ReadsEveryParameterWithItsType) {
  setProductionParam("PROG_POSINI", " 1");
  setProductionParam("PROG_TAM", "6x");
  setProductionParam("FICHA_POSINI", "7");
  setProductionParam("FICHA_TAM", "$4");
  setProductionParam("SUBFICHA_POSINI", "11");
  setProductionParam("SUBFICHA_TAM", "-2");
  setProductionParam("SETOR_POSINI", "-3a");
  setProductionParam("SETOR_TAM", "a2");
  setProductionParam("BAIXA_POR_TALAO", "S");
  setProductionParam("BLOQUEAR_ATU_PROG_ENCERRADA", "s");
  setProductionParam("VALIDA_BX_REQ_MP_COD_SETOR_ATU", " 05 ");
  setProductionParam("VALIDA_BX_REQ_MP_COD_SETOR_MP", "07");
  setProductionParam("BAIXA_POR_SUBFICHA", "S ");
  setProductionParam("BAIXA_PARCIAL", "SIM");
  setProductionParam("BAIXA_SETOR_ENTRADA", "S");
  setParam("PRODUCAO_ESTOQUE", "FILIAL_ESTOQUE", "3");
  setProductionParam("VERIFICA_LIBERACAO_ITEM_TALAO", "S");
  setProductionParam("SETOR_BX_FICHA_CORTE", "01, 02");

  auto module = createModule();
  EXPECT_TRUE(startupErrors.empty());
  const ProductionParameters& p = module->Parametros();
  EXPECT_EQ(p.PROG_POSINI, 1);
  EXPECT_EQ(p.PROG_TAM, 6);
  EXPECT_EQ(p.FICHA_POSINI, 7);
  EXPECT_EQ(p.FICHA_TAM, 4);
  EXPECT_EQ(p.SUBFICHA_POSINI, 11);
  EXPECT_EQ(p.SUBFICHA_TAM, -2);
  EXPECT_EQ(p.SETOR_POSINI, 3);
  EXPECT_EQ(p.SETOR_TAM, 0);
  EXPECT_TRUE(p.BAIXA_POR_TALAO);
  EXPECT_FALSE(p.BLOQUEAR_ATU_PROG_ENCERRADA);
  EXPECT_EQ(p.VALIDA_BX_REQ_MP_COD_SETOR_ATU, " 05 ");
  EXPECT_EQ(p.VALIDA_BX_REQ_MP_COD_SETOR_MP, "07");
  EXPECT_FALSE(p.BAIXA_POR_SUBFICHA);
  EXPECT_FALSE(p.BAIXA_PARCIAL);
  EXPECT_TRUE(p.BAIXA_SETOR_ENTRADA);
  EXPECT_EQ(p.FILIAL_ESTOQUE, 3);
  EXPECT_TRUE(p.VERIFICA_LIBERACAO_ITEM_TALAO);
  EXPECT_EQ(p.SETOR_BX_FICHA_CORTE, "01, 02");
}

TEST_F(ProductionParametersTest, MissingRowsGiveTheDefaults) {
  // The stock branch only counts in its own group; a null value reads as empty.
  setProductionParam("FILIAL_ESTOQUE", "3");
  setProductionParam("SETOR_BX_FICHA_CORTE", db::Null{});
  setParam("OUTRO", "PROG_TAM", "6");

  auto module = createModule();
  EXPECT_TRUE(startupErrors.empty());
  const ProductionParameters& p = module->Parametros();
  EXPECT_EQ(p.PROG_POSINI, 0);
  EXPECT_EQ(p.PROG_TAM, 0);
  EXPECT_EQ(p.SETOR_POSINI, 0);
  EXPECT_FALSE(p.BAIXA_POR_TALAO);
  EXPECT_FALSE(p.BAIXA_SETOR_ENTRADA);
  EXPECT_EQ(p.FILIAL_ESTOQUE, 0);
  EXPECT_EQ(p.SETOR_BX_FICHA_CORTE, "");
  EXPECT_EQ(module->LerParametro("ATU_PRODUCAO", "NAO_EXISTE"), "");
  EXPECT_EQ(module->LerParametroInt("ATU_PRODUCAO", "NAO_EXISTE"), 0);
}

TEST_F(ProductionParametersTest, ParametersAreFixedAtCreation) {
  setProductionParam("PROG_TAM", "6");
  auto module = createModule();
  setProductionParam("PROG_TAM", "8");
  EXPECT_EQ(module->Parametros().PROG_TAM, 6);
  // Reading it directly sees the database as it is now.
  EXPECT_EQ(module->LerParametroInt("ATU_PRODUCAO", "PROG_TAM"), 8);
}

TEST_F(ProductionParametersTest, CompanyNameIsReadAtEachUse) {
  auto module = createModule();
  EXPECT_EQ(module->NomeEmpresa(), "");
  setCompany("LUMORA");
  EXPECT_EQ(module->NomeEmpresa(), "LUMORA");
  execute("delete from CONFIG");
  EXPECT_EQ(module->NomeEmpresa(), "");
}

TEST_F(ProductionParametersTest, UnreachableAtStartRefusesCardsUntilTheParametersAreRead) {
  setProductionParam("PROG_TAM", "6");
  setProductionParam("BAIXA_POR_TALAO", "S");
  addSector("01", "CORTE", 1);
  addEmployee("001", "ANA", std::string("100"), "01");

  db::ConnectionSettings unreachable = database().settings();
  unreachable.database = (database().folder() / "missing" / "nowhere.fdb").string();
  db::Connection serverConnection(unreachable);
  std::vector<std::string> reported;
  TdmAtuProducao module(serverConnection,
                        [&](const std::string& message) { reported.push_back(message); });

  ASSERT_EQ(reported.size(), 1u);
  EXPECT_FALSE(reported[0].empty());
  EXPECT_FALSE(module.ParametrosCarregados());

  // Still unreachable: the card is refused with its reason, not cut with
  // default positions.
  TDadosAtuProducao dados;
  std::string mensagem;
  EXPECT_FALSE(module.IdentificarFicha("00010100010000", "01", dados, mensagem));
  EXPECT_EQ(mensagem.rfind(kParametrosNaoCarregados, 0), 0u) << mensagem;
  EXPECT_TRUE(dados.Prog.empty());

  // The database comes back: the next card reads the parameters first.
  serverConnection.setSettings(database().settings());
  std::string code, name, sector;
  EXPECT_TRUE(module.LocalizarFuncionario("100", code, name, sector));
  EXPECT_EQ(name, "ANA");
  mensagem.clear();
  module.IdentificarFicha("00010100010000", "01", dados, mensagem);
  EXPECT_TRUE(module.ParametrosCarregados());
  EXPECT_EQ(module.Parametros().PROG_TAM, 6);
  EXPECT_TRUE(module.Parametros().BAIXA_POR_TALAO);
  EXPECT_NE(mensagem.rfind(kParametrosNaoCarregados, 0), 0u) << mensagem;
  EXPECT_EQ(reported.size(), 1u);
}

TEST_F(ProductionParametersTest, LaterDatabaseErrorsReachTheCaller) {
  auto module = createModule();
  db::ConnectionSettings unreachable = database().settings();
  unreachable.database = (database().folder() / "missing" / "nowhere.fdb").string();
  db::Connection lost(unreachable);
  module->DefinirConexao(lost);
  EXPECT_THROW(module->NomeEmpresa(), db::DatabaseError);
  TDadosAtuProducao dados;
  std::string message;
  EXPECT_THROW(module->IdentificarFicha("123", "01", dados, message), db::DatabaseError);
  EXPECT_TRUE(startupErrors.empty());
}

}  // namespace
}  // namespace mts::test
