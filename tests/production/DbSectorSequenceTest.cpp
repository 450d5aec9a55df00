#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ValidationDatabaseTest.h"

namespace mts::test {
namespace {

class SectorSequenceTest : public ValidationDatabaseTest {};

FactoryBuilder::Product productThrough(std::vector<std::string> sectors,
                                       const std::string& initial = "") {
  return {.code = "PR02", .initialSector = initial, .sectors = std::move(sectors)};
}

// Card 000200/0001 of 10 pairs, of product PR02.
void cardOfProductPR02(FactoryBuilder& f, const FactoryBuilder::Product& product) {
  f.product(product);
  f.card({.prog = "000200", .ficha = "0001", .pairs = 10, .product = "PR02", .item = "002"});
}

FactoryBuilder::Posting postedPR02(const std::string& sector) {
  return {.prog = "000200", .ficha = "0001", .sector = sector, .employee = "001"};
}

TEST_F(SectorSequenceTest, SectorEmployeeAndUpdateType) {
  const std::string notInSequence =
      "Setor \"04\" n\xE3o faz parte da Sequ\xEAncia de Produ\xE7\xE3o";
  const std::string updateTypeRefused = "Tipo de Atualiza\xE7\xE3o Inv\xE1lida para o Setor.";
  std::vector<Case> cases = {
      {.what = "a sector outside the sequence, though it exists",
       .state =
           [](FactoryBuilder& f) {
             f.sector({.code = "04", .name = "ALMOXARIFADO", .order = 4, .inSequence = false});
           },
       .request = mainCard("04"),
       .message = notInSequence},
      {.what = "sector codes are compared exactly",
       .state = [](FactoryBuilder& f) { f.sector({.code = "0A", .name = "X", .order = 4}); },
       .request = mainCard("0a"),
       .message = "Setor \"0a\" n\xE3o faz parte da Sequ\xEAncia de Produ\xE7\xE3o"},
      {.what = "an employee not on the sector's list",
       .state =
           [](FactoryBuilder& f) {
             f.employee("003", "CAIO", {"01"});
             f.employee("004", "DORA", {"01"});
           },
       .request = mainCard("01"),
       .message = "Setor \"01\" inv\xE1lido para o Funcionario."},
      {.what = "an employee on the sector's list",
       .state =
           [](FactoryBuilder& f) {
             f.employee("003", "CAIO", {"01"});
             f.employee("004", "DORA", {"01"});
           },
       .request = withEmployee(mainCard("01"), "004"),
       .accepted = true,
       .quantity = 12},
      {.what = "the employee code is compared exactly, trailing blank included",
       .state = [](FactoryBuilder& f) { f.employee("004", "DORA", {"01"}); },
       .request = withEmployee(mainCard("01"), "004 "),
       .message = "Setor \"01\" inv\xE1lido para o Funcionario."},
      {.what = "a sector without a list admits any employee code",
       .request = withEmployee(mainCard("01"), "999"),
       .accepted = true,
       .quantity = 12},
      {.what = "an empty update type refuses every kind",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("01", "TIPO_ATU_PRODUCAO_SETOR_SE", std::string(""));
           },
       .request = mainCard("01"),
       .message = updateTypeRefused},
      {.what = "an update type for sub-cards refuses a main card",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("01", "TIPO_ATU_PRODUCAO_SETOR_SE", std::string("S"));
           },
       .request = mainCard("01"),
       .message = updateTypeRefused},
      {.what = "an update type for main cards accepts one",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("01", "TIPO_ATU_PRODUCAO_SETOR_SE", std::string("F"));
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
  };
  runCases(cases);
}

TEST_F(SectorSequenceTest, ProductSectorsAndPreviousSectors) {
  const auto notPosted = [](const std::string& name) {
    return "O setor \"" + name + "\" n\xE3o foi atualizado.";
  };
  std::vector<Case> cases = {
      {.what = "a product that does not go through the sector",
       .state =
           [](FactoryBuilder& f) {
             cardOfProductPR02(f, productThrough({"01", "03"}));
           },
       .request = mainCard("02", "000200"),
       .message = "Produto n\xE3o atualiza no setor \"02\"."},
      {.what = "a product whose listed sectors are all outside the sequence",
       .state =
           [](FactoryBuilder& f) {
             f.sector({.code = "04", .name = "ALMOXARIFADO", .order = 4, .inSequence = false});
             cardOfProductPR02(f, productThrough({"04"}));
             f.posting(postedPR02("01"));
           },
       .request = mainCard("02", "000200"),
       .accepted = true,
       .quantity = 10},
      {.what = "the previous sector has not posted the card",
       .request = mainCard("02"),
       .message = notPosted("CORTE")},
      {.what = "the previous sector posted the card",
       .state = [](FactoryBuilder& f) { f.posting(posted("01")); },
       .request = mainCard("02"),
       .accepted = true,
       .quantity = 12},
      {.what = "a product without sector 02 skips it as a previous sector",
       .state =
           [](FactoryBuilder& f) {
             cardOfProductPR02(f, productThrough({"01", "03"}));
           },
       .request = mainCard("03", "000200"),
       .accepted = true,
       .quantity = 10},
      {.what = "the sector placed before the product's initial sector",
       .state =
           [](FactoryBuilder& f) {
             cardOfProductPR02(f, productThrough({}, "02"));
             f.changeSector("01", "SETORANT_SE", std::string(""));
           },
       .request = mainCard("01", "000200"),
       .message = "O setor possui ordem inferior ao setor inicial."},
      {.what = "a previous sector placed before the initial sector is not required",
       .state = [](FactoryBuilder& f) { cardOfProductPR02(f, productThrough({}, "02")); },
       .request = mainCard("02", "000200"),
       .accepted = true,
       .quantity = 10},
      {.what = "an initial sector outside the sequence takes the sector's own order",
       .state = [](FactoryBuilder& f) { cardOfProductPR02(f, productThrough({}, "99")); },
       .request = mainCard("02", "000200"),
       .accepted = true,
       .quantity = 10},
      {.what = "two commas in a row without a product list",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("03", "SETORANT_SE", std::string("01,,02"));
             f.posting(posted("01"));
           },
       .request = mainCard("03"),
       .message = "Setor anterior \"\" inv\xE1lido."},
      {.what = "a blank after a comma stays in the code without a product list",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("03", "SETORANT_SE", std::string("01, 02"));
             f.posting(posted("01"));
             f.posting(posted("02"));
           },
       .request = mainCard("03"),
       .message = "Setor anterior \" 02\" inv\xE1lido."},
      {.what = "the same texts are split cleanly with a product list",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("03", "SETORANT_SE", std::string("01, ,02,,"));
             cardOfProductPR02(f, productThrough({"01", "02", "03"}));
             f.posting(postedPR02("01"));
           },
       .request = mainCard("03", "000200"),
       .message = notPosted("COSTURA")},
      {.what = "a previous grouping sector is satisfied by a member",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("03", "SETORANT_SE", std::string("07"));
             f.posting(posted("06"));
           },
       .request = mainCard("03"),
       .accepted = true,
       .quantity = 12},
      {.what = "a previous grouping sector is never satisfied by itself",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("03", "SETORANT_SE", std::string("07"));
             f.posting(posted("07"));
           },
       .request = mainCard("03"),
       .message = "Os setores do agrupamento \"ACABAMENTO\"  n\xE3o foram atualizados."},
      {.what = "a sub-card's previous sector posted the main card",
       .state =
           [](FactoryBuilder& f) {
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 4});
             f.posting(posted("01"));
           },
       .request = subCard("02", "0002"),
       .accepted = true,
       .quantity = 4},
      {.what = "a sub-card's previous sector posted another sub-card only",
       .state =
           [](FactoryBuilder& f) {
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 4});
             f.posting(posted("01", "0003"));
           },
       .request = subCard("02", "0002"),
       .message = notPosted("CORTE")},
      {.what = "a main card's previous sector posted one of its sub-cards",
       .state = [](FactoryBuilder& f) { f.posting(posted("01", "0003")); },
       .request = mainCard("02"),
       .accepted = true,
       .quantity = 12},
      {.what = "a sub-card's previous group satisfied by a member's main-card posting",
       .state =
           [](FactoryBuilder& f) {
             f.changeSector("03", "SETORANT_SE", std::string("07"));
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 4});
             f.posting(posted("05"));
           },
       .request = subCard("03", "0002"),
       .accepted = true,
       .quantity = 4},
  };
  runCases(cases);
}

}  // namespace
}  // namespace mts::test

namespace mts::test {
namespace {

// The product's sector list is read once per card (the product check and the
// previous-sector filter share it), so a change made between two cards must
// still reach the second one.
TEST_F(SectorSequenceTest, ProductSectorChangesReachTheNextValidation) {
  cardOfProductPR02(factory, productThrough({"01", "02", "03"}));
  auto module = createModule();
  const TDadosAtuProducao request = mainCard("03", "000200");

  // 03 follows 02, which the product goes through and has not posted.
  TRetorno answer = validate(*module, request);
  EXPECT_FALSE(answer.Sucesso);
  EXPECT_EQ(answer.Mensagem, "O setor \"COSTURA\" n\xE3o foi atualizado.");

  connection().execute(
      "delete from PRODUTO_SETOR where CODIGO_PRODUTO_PS = 'PR02' and "
      "CODIGO_SETOR_PS = '02'");
  answer = validate(*module, request);
  EXPECT_TRUE(answer.Sucesso) << answer.Mensagem;
}

// A whole card's postings are read once per validation and answer every
// sector's question in it; nothing of them is kept for the next validation or
// for a check called on its own.
TEST_F(SectorSequenceTest, PostingsReachTheNextValidationAndEachCheckCalledAlone) {
  auto module = createModule();
  const TDadosAtuProducao request = mainCard("02");
  TRetorno answer = validate(*module, request);
  EXPECT_EQ(answer.Mensagem, "O setor \"CORTE\" n\xE3o foi atualizado.");
  factory.posting(posted("01"));
  answer = validate(*module, request);
  EXPECT_TRUE(answer.Sucesso) << answer.Mensagem;

  module->DadosAtuProducao = mainCard("03");
  std::string mensagem;
  EXPECT_FALSE(module->SetorAnteriorAtualizado("02", mensagem));
  factory.posting(posted("02"));
  EXPECT_TRUE(module->SetorAnteriorAtualizado("02", mensagem));
  EXPECT_FALSE(module->SubfichasBaixadas(mensagem));
  factory.posting(posted("03", "0002"));
  EXPECT_TRUE(module->SubfichasBaixadas(mensagem));
}

// The sectors' groups are read once per validation and answer every group
// question in it: a member leaving its group between two cards still reaches
// the second one.
TEST_F(SectorSequenceTest, GroupChangesReachTheNextValidation) {
  factory.changeSector("03", "SETORANT_SE", std::string("07"));
  factory.posting(posted("06"));
  auto module = createModule();
  const TDadosAtuProducao request = mainCard("03");
  TRetorno answer = validate(*module, request);
  EXPECT_TRUE(answer.Sucesso) << answer.Mensagem;

  factory.changeSector("06", "SETOR_AGRUP_SE", db::Null{});
  answer = validate(*module, request);
  EXPECT_FALSE(answer.Sucesso);
  EXPECT_EQ(answer.Mensagem, "Os setores do agrupamento \"ACABAMENTO\"  n\xE3o foram atualizados.");
}

// One module serves every card: a sector changed before a validation is seen
// by it, whatever the module did since the last one. (Identification and the
// validation after it run back to back, with nothing in between.)
TEST_F(SectorSequenceTest, SectorChangesReachTheNextValidation) {
  auto module = createModule();
  const auto identify = [&](const std::string& code) {
    TDadosAtuProducao dados;
    std::string mensagem;
    return module->IdentificarFicha(code, "02", dados, mensagem);
  };
  const auto previousOf02 = [&](const std::string& sector) {
    factory.changeSector("02", "SETORANT_SE", sector);
  };
  const std::string card = "00010000010000";  // 000100/0001
  struct Step {
    std::string what;
    std::function<void()> before;
    std::string previousSector;  // its name in the refusal
  };
  const std::vector<Step> steps = {
      {"changed, then identified",
       [&] {
         previousOf02("03");
         EXPECT_TRUE(identify(card));
       },
       "MONTAGEM"},
      {"changed after an identified card's validation", [&] { previousOf02("01"); }, "CORTE"},
      {"identified and refused, then changed",
       [&] {
         EXPECT_FALSE(identify("OP00010000042"));  // no such operation card
         previousOf02("03");
       },
       "MONTAGEM"},
      {"changed, then identified again",
       [&] {
         previousOf02("01");
         EXPECT_TRUE(identify(card));
       },
       "CORTE"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.before();
    const TRetorno answer = validate(*module, mainCard("02"));
    EXPECT_FALSE(answer.Sucesso);
    EXPECT_EQ(answer.Mensagem, "O setor \"" + step.previousSector + "\" n\xE3o foi atualizado.");
  }
}

}  // namespace
}  // namespace mts::test
