#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ValidationDatabaseTest.h"

namespace mts::test {
namespace {

class ValidationPipelineTest : public ValidationDatabaseTest {};

const char* const kOperationsPending =
    "Ficha Opera\xE7\xE3o Setor gerada/n\xE3o atualizada, n\xE3o \xE9 poss\xEDvel atualizar a "
    "ficha.";

// The first sector of the factory posts every card kind; the request's kind
// decides the path and the quantity it leaves.
TEST_F(ValidationPipelineTest, EachKindTakesItsPathAndLeavesItsQuantity) {
  std::vector<Case> cases = {
      {.what = "no sector, even for a cut card",
       .request = withSector(cutCard("01", 5), ""),
       .message = "O Setor n\xE3o foi informado."},
      {.what = "no employee, even for an operation card",
       .request = withEmployee(operation("01", "0000", "10"), ""),
       .message = "O Funcion\xE1rio n\xE3o foi informado."},
      {.what = "cut card: its total, whatever the sector's update type",
       .state =
           [](FactoryBuilder& f) {
             f.cutCard(5, 30);
             f.changeSector("01", "TIPO_ATU_PRODUCAO_SETOR_SE", std::string("S"));
           },
       .request = cutCard("01", 5),
       .accepted = true,
       .quantity = 30},
      {.what = "cut card unknown",
       .request = cutCard("01", 5),
       .message = "Ficha 280000000005 n\xE3o encontrada."},
      {.what = "operation card: the card's pairs, no other check",
       .state =
           [](FactoryBuilder& f) {
             f.operationCard(1, "000100", "0001", "01", "10");
             f.changeSector("01", "TIPO_ATU_PRODUCAO_SETOR_SE", std::string("S"));
           },
       .request = operation("01", "0000", "10"),
       .accepted = true,
       .quantity = 12},
      {.what = "operation card of a sub-card: the sub-card's pairs",
       .state =
           [](FactoryBuilder& f) {
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 4});
             f.subCard({.id = 2,
                        .prog = "000100",
                        .ficha = "0001",
                        .subFicha = "0002",
                        .pairs = 5,
                        .size = "38"});
           },
       .request = operation("01", "0002", "10"),
       .accepted = true,
       .quantity = 9},
      {.what = "main card: PRODUCAO's pairs",
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "sub-card: the sum of its sizes",
       .state =
           [](FactoryBuilder& f) {
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 4});
             f.subCard({.id = 2,
                        .prog = "000100",
                        .ficha = "0001",
                        .subFicha = "0002",
                        .pairs = 2,
                        .size = "38"});
           },
       .request = subCard("01", "0002"),
       .accepted = true,
       .quantity = 6},
      {.what = "box label: the box's pairs",
       .state = [](FactoryBuilder& f) { f.box({.code = 70, .talao = "0003", .pairs = 8}); },
       .request = boxLabel("01", 70, "0003"),
       .accepted = true,
       .quantity = 8},
      {.what = "sub-production label: its pairs",
       .state =
           [](FactoryBuilder& f) {
             f.subCard(
                 {.id = 41, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 3});
           },
       .request = subProduction("01", 41, "0002"),
       .accepted = true,
       .quantity = 3},
      {.what = "operations of the sector still unposted stop every other kind",
       .state = [](FactoryBuilder& f) { f.operationCard(1, "000100", "0001", "01", "10"); },
       .request = mainCard("01"),
       .message = kOperationsPending},
      {.what = "second pass of an operation card, every operation posted",
       .state =
           [](FactoryBuilder& f) {
             f.operationCard(1, "000100", "0001", "01", "10");
             f.postedOperation("000100", "0001", "0000", "01", "10", {2024, 3, 7, 8, 5, 9, 0});
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "the closed programme is seen before the update type",
       .state =
           [](FactoryBuilder& f) {
             f.param("BLOQUEAR_ATU_PROG_ENCERRADA", "S");
             f.programme("000100", true);
             f.changeSector("01", "TIPO_ATU_PRODUCAO_SETOR_SE", std::string("S"));
           },
       .request = mainCard("01"),
       .message = "Programa\xE7\xE3o Encerrada."},
  };
  runCases(cases);
}

TEST_F(ValidationPipelineTest, AnAcceptedRequestIsCompletedForRecording) {
  struct Variant {
    std::string what;
    State state;
    bool entryExit;
  };
  const std::vector<Variant> variants = {
      {"plain", {}, false},
      {"entry/exit by parameter", [](FactoryBuilder& f) { f.param("BAIXA_SETOR_ENTRADA", "S"); },
       true},
      {"entry/exit for BRISAL, parameter off",
       [](FactoryBuilder& f) {
         f.company("BRISAL");
         f.param("BAIXA_SETOR_ENTRADA", "N");
       },
       true},
      {"company name in another case", [](FactoryBuilder& f) { f.company("Brisal"); }, false},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.what);
    resetFactory();
    factory.param("FILIAL_ESTOQUE", "3", "PRODUCAO_ESTOQUE");
    factory.param("VERIFICA_LIBERACAO_ITEM_TALAO", "S");
    if (v.state) v.state(factory);
    auto module = createModule();
    const db::Timestamp before =
        queryOne("select cast('now' as TIMESTAMP) as T from CONFIG").timestamp("T");

    ASSERT_TRUE(validate(*module, mainCard("01")).Sucesso);

    const TDadosAtuProducao& dados = module->DadosAtuProducao;
    EXPECT_EQ(dados.BaixaSetorEntrada, v.entryExit);
    EXPECT_EQ(dados.CampoData, v.entryExit ? "DTENTRADA_PS" : "DTSAIDA_PS");
    EXPECT_EQ(dados.CampoHora, v.entryExit ? "HORAENTRADA_PS" : "HORASAIDA_PS");
    EXPECT_EQ(dados.FilialEstoque, 3);
    EXPECT_TRUE(dados.VerificaLiberacaoItemTalao);
    EXPECT_GE(dados.DataHora, before);
    EXPECT_EQ(dados.Qtde, 12);
  }
}

TEST_F(ValidationPipelineTest, SuccessiveValidationsShareNothingButTheModule) {
  factory.company("BRISAL");
  factory.box({.code = 70, .talao = "0003", .pairs = 8});
  auto module = createModule();

  const TRetorno box = validate(*module, boxLabel("01", 70, "0003"));
  ASSERT_TRUE(box.Sucesso) << box.Mensagem;
  EXPECT_EQ(module->DadosAtuProducao.Qtde, 8);
  EXPECT_EQ(module->DadosAtuProducao.CampoData, "DTENTRADA_PS");

  // The company name is read at each validation, the quantity starts at 0.
  factory.company("");
  const TRetorno missing = validate(*module, mainCard("01", "000999", "0001"));
  EXPECT_FALSE(missing.Sucesso);
  EXPECT_EQ(missing.Mensagem, "Prog./Ficha n\xE3o encontrada.");
  EXPECT_EQ(module->DadosAtuProducao.Qtde, 0);
  EXPECT_FALSE(module->DadosAtuProducao.BaixaSetorEntrada);
  EXPECT_EQ(module->DadosAtuProducao.CampoData, "DTSAIDA_PS");

  // A sector added since the last card is known at the next one.
  factory.sector({.code = "04", .name = "EXPEDICAO", .order = 4});
  const TRetorno newSector = validate(*module, mainCard("04"));
  EXPECT_TRUE(newSector.Sucesso) << newSector.Mensagem;
}

TEST_F(ValidationPipelineTest, ServerTimeComesFromTheDatabase) {
  auto module = createModule();
  const db::Timestamp now = module->DataHoraServidor();
  EXPECT_GE(now.year, 2024);
  execute("delete from CONFIG");
  EXPECT_EQ(module->DataHoraServidor(), db::Timestamp{});
  factory.company("");
}

}  // namespace
}  // namespace mts::test

namespace mts::test {
namespace {

// The company name decides entry/exit posting; one module serves every card,
// and a name changed before a validation is seen by it, whatever the module
// did since the last one. (Identification and the validation after it run
// back to back, with nothing in between.)
TEST_F(ValidationPipelineTest, CompanyChangesReachTheNextValidation) {
  auto module = createModule();
  const auto identify = [&](const std::string& code) {
    TDadosAtuProducao dados;
    std::string mensagem;
    return module->IdentificarFicha(code, "01", dados, mensagem);
  };
  const std::string card = "00010000010000";  // 000100/0001
  struct Step {
    std::string what;
    std::function<void()> before;
    bool entryExit;
  };
  const std::vector<Step> steps = {
      {"changed, then identified",
       [&] {
         factory.company("BRISAL");
         EXPECT_TRUE(identify(card));
       },
       true},
      {"changed after an identified card's validation", [&] { factory.company("OUTRA"); }, false},
      {"identified and refused, then changed",
       [&] {
         EXPECT_FALSE(identify("OP00010000042"));  // no such operation card
         factory.company("BRISAL");
       },
       true},
      {"changed, then identified again",
       [&] {
         factory.company("OUTRA");
         EXPECT_TRUE(identify(card));
       },
       false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.before();
    EXPECT_TRUE(validate(*module, mainCard("01")).Sucesso);
    EXPECT_EQ(module->DadosAtuProducao.BaixaSetorEntrada, step.entryExit);
  }
}

// The customers whose codes read differently: what a terminal's code becomes
// and how it validates.
TEST_F(ValidationPipelineTest, CustomerCodesIdentifyAndValidate) {
  struct Variant {
    std::string what;
    std::string company;
    std::string code;
    std::string kind;
    double quantity;
  };
  const std::vector<Variant> variants = {
      {"LUMORA: a ten-character box label with its sector", "LUMORA", "1000007001", "T", 8},
      {"FENTAX: a thirteen-character sub-card code", "FENTAX", "3000500001020", "S", 6},
      {"FENTAX: its main card", "FENTAX", "3000500001000", "F", 9},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.what);
    resetFactory();
    factory.company(v.company);
    factory.box({.code = 70, .talao = "0002", .pairs = 8});
    factory.card({.prog = "000500", .ficha = "001", .pairs = 9, .item = "005"});
    factory.subCard({.id = 51, .prog = "000500", .ficha = "001", .subFicha = "0002", .pairs = 6});
    auto module = createModule();

    TDadosAtuProducao dados;
    std::string mensagem;
    ASSERT_TRUE(module->IdentificarFicha(v.code, "01", dados, mensagem)) << mensagem;
    EXPECT_EQ(dados.TipoAtualizacao, v.kind);
    dados.Funcionario = "001";
    const TRetorno answer = validate(*module, dados);
    EXPECT_TRUE(answer.Sucesso) << answer.Mensagem;
    EXPECT_EQ(module->DadosAtuProducao.Qtde, v.quantity);
  }
}

}  // namespace
}  // namespace mts::test
