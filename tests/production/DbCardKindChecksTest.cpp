#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ValidationDatabaseTest.h"
#include "production/validation/CardKindChecks.h"

namespace mts::test {
namespace {

class CardKindChecksTest : public ValidationDatabaseTest {
 protected:
  // A posting of sub-card 0002: whole (all ids 0), by box or by sub-production.
  static FactoryBuilder::Posting postedPart(const std::string& sector, int box, int subProduction,
                                            int rawMaterial = 0) {
    FactoryBuilder::Posting posting = posted(sector, "0002");
    posting.box = box;
    posting.subProduction = subProduction;
    posting.rawMaterialSubProduction = rawMaterial;
    return posting;
  }
};

const char* const kPartPosted =
    "C\xF3"
    "d. Cx Colet. ou C\xF3"
    "d. SubFicha j\xE1 baixado. Func: ANA";

// Sub-card 0002 of the card: sizes 37 (id 41, 3 pairs) and 38 (id 42, 5
// pairs); box 70 holds its 8 pairs under talão 0002.
void subCard0002(FactoryBuilder& f) {
  f.subCard({.id = 41, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 3});
  f.subCard(
      {.id = 42, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 5, .size = "38"});
  f.box({.code = 70, .talao = "0002", .pairs = 8});
}

TEST_F(CardKindChecksTest, MainCardsAndSubCards) {
  std::vector<Case> cases = {
      {.what = "a main card without its PRODUCAO row",
       .state =
           [](FactoryBuilder& f) {
             f.card({.prog = "000300", .ficha = "0001", .item = "003", .noProductionRow = true});
           },
       .request = mainCard("01", "000300"),
       .message = "Prog./Ficha n\xE3o encontrada."},
      {.what = "a main card with a sub-card posted in the sector",
       .state = [](FactoryBuilder& f) { f.posting(posted("01", "0002")); },
       .request = mainCard("01"),
       .message = "Prog./Ficha possui subfichas baixadas.",
       .quantity = 12},
      {.what = "a main card with a sub-card posted in another sector only",
       .state = [](FactoryBuilder& f) { f.posting(posted("02", "0002")); },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "a main card with sub-cards, posting by sub-card on",
       .state =
           [](FactoryBuilder& f) {
             f.param("BAIXA_POR_SUBFICHA", "S");
             subCard0002(f);
           },
       .request = mainCard("01"),
       .message = "Prog./Ficha possui subfichas.",
       .quantity = 12},
      {.what = "a main card with unposted sub-cards, posting by sub-card off",
       .state = subCard0002,
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "a sub-card whose main card is posted in the sector",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(posted("01"));
           },
       .request = subCard("01", "0002"),
       .message = "A ficha principal j\xE1 foi baixada Func: ANA"},
      {.what = "the main card posted by an unknown employee names nobody",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             FactoryBuilder::Posting posting = posted("01");
             posting.employee = "999";
             f.posting(posting);
           },
       .request = subCard("01", "0002"),
       .message = "A ficha principal j\xE1 foi baixada"},
      {.what = "a sub-card in a member whose sibling posted the main card",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(posted("06"));
           },
       .request = subCard("05", "0002"),
       .message = "Ficha Principal Atualizada no Setor \"06\" desse Agrupamento Func: ANA"},
      {.what = "a sub-card in a grouping sector whose member posted the main card",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(posted("05"));
           },
       .request = subCard("07", "0002"),
       .message = "Ficha Principal Atualizada no Setor \"05\" desse Agrupamento Func: ANA"},
      {.what = "a sub-card in a member when the grouping sector posted the main card",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(posted("07"));
           },
       .request = subCard("05", "0002"),
       .accepted = true,
       .quantity = 8},
      {.what = "a sub-card without SUBPROD rows",
       .request = subCard("01", "0009"),
       .message = "SubFicha n\xE3o encontrada."},
  };
  runCases(cases);
}

TEST_F(CardKindChecksTest, BoxLabelsAndSubProductionLabels) {
  std::vector<Case> cases = {
      {.what = "a box label no longer found",
       .request = boxLabel("01", 77, "0002"),
       .message = "C\xF3"
                  "d. Cx Colet. \"77\" n\xE3o localizado."},
      {.what = "a box without talão, though not cancelled",
       .state = [](FactoryBuilder& f) { f.box({.code = 71, .talao = "  ", .pairs = 8}); },
       .request = boxLabel("01", 71, "0002"),
       .message = "Tal\xE3o inv\xE1lido ou n\xE3o gerado."},
      {.what = "a box whose whole sub-card is posted",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 0, 0));
           },
       .request = boxLabel("01", 70, "0002"),
       .message = "SubFicha Principal j\xE1 baixada. Func: ANA"},
      {.what = "the same box posted again",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 70, 0));
           },
       .request = boxLabel("01", 70, "0002"),
       .message = kPartPosted},
      {.what = "a box after a sub-production of its sub-card",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 0, 41));
           },
       .request = boxLabel("01", 70, "0002"),
       .message = kPartPosted},
      {.what = "a sub-production after a box of its sub-card",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 70, 0));
           },
       .request = subProduction("01", 42, "0002"),
       .message = kPartPosted},
      {.what = "a sub-production after a raw-material sub-production",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 0, 0, 9));
           },
       .request = subProduction("01", 42, "0002"),
       .message = kPartPosted},
      {.what = "the same sub-production posted again",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 0, 42));
           },
       .request = subProduction("01", 42, "0002"),
       .message = kPartPosted},
      {.what = "another sub-production of the same sub-card",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 0, 41));
           },
       .request = subProduction("01", 42, "0002"),
       .accepted = true,
       .quantity = 5},
      {.what = "a sub-production posted in another sector",
       .state =
           [](FactoryBuilder& f) {
             subCard0002(f);
             f.posting(postedPart("01", 0, 42));
           },
       .request = subProduction("02", 42, "0002"),
       .accepted = true,
       .quantity = 5},
      {.what = "a sub-production label no longer found",
       .state = subCard0002,
       .request = subProduction("01", 43, "0002"),
       .message = "C\xF3"
                  "d. Sub Prod. \"43\" n\xE3o localizado."},
  };
  runCases(cases);
}

// A cancelled box loses its order number, and the box look-up joins the box to
// its order item, so such a box is refused as not found before this check can
// see it; the check itself is shown here on the row it would read.
TEST_F(CardKindChecksTest, ABoxWithoutOrderNumberIsReportedCancelled) {
  const auto columns = std::make_shared<std::vector<std::string>>(
      std::vector<std::string>{"TALAO_CX", "PEDIDO_CX", "DATA_CANC_CX", "QTDEPAR_CX"});
  const db::Row cancelled(
      columns, {std::string("0002"), std::string(" "), db::Timestamp{2024, 2, 9, 7, 5, 59, 0}, 8});
  TDadosAtuProducao dados = boxLabel("01", 70, "0002");
  TVNClientDataSet sectors;
  SectorGroups grupos(sectors);
  CardKindChecks checks(grupos, dados);
  checks.DefinirConexao(connection());

  std::string mensagem;
  EXPECT_FALSE(checks.ValidarCaixa(cancelled, mensagem));
  EXPECT_EQ(mensagem, "Cx Colet. CANCELADA em 09/02 07:05.");
  EXPECT_EQ(dados.Qtde, 0);
}

}  // namespace
}  // namespace mts::test
