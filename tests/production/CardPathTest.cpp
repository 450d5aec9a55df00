#include "production/CardPath.h"

#include <gtest/gtest.h>

#include <exception>
#include <ostream>
#include <string>
#include <vector>

#include "dataaccess/firebird/DatabaseError.h"
#include "support/FakeCardSteps.h"

namespace mts {
namespace {

using test::FakeCardSteps;
using Lines = std::vector<std::string>;

struct PostCase {
  const char* name;
  TDadosAtuProducao identified;  // what identification fills
  std::vector<TRetorno> verdicts;
  bool operationsComplete;
  bool posted;
  std::string cardKind;  // afterwards
  Lines calls;           // after identification
};

void PrintTo(const PostCase& c, std::ostream* os) {
  *os << c.name;
}

TDadosAtuProducao Card(const std::string& kind, bool subCard = false, bool cut = false) {
  TDadosAtuProducao request;
  request.TipoAtualizacao = kind;
  request.PossuiSubFicha = subCard;
  request.FichaCorte = cut;
  request.Operacao = kind == "O" ? "0101" : "";
  return request;
}

class PostCardTest : public testing::TestWithParam<PostCase> {};

TEST_P(PostCardTest, IdentifiesValidatesAndRecords) {
  const PostCase& c = GetParam();
  FakeCardSteps production;
  production.cards["CODE"].request = c.identified;
  production.verdicts.assign(c.verdicts.begin(), c.verdicts.end());
  production.operationsComplete = c.operationsComplete;
  // Validation completes the request; what it filled must reach the writers.
  production.complete = [](TDadosAtuProducao& request) {
    request.DataHora = {2025, 3, 4, 8, 12, 33};
  };

  const CardOutcome outcome = PostCard(production, {"CODE", "017", "21"});

  EXPECT_FALSE(outcome.failure);
  EXPECT_EQ(outcome.answer.Sucesso, c.posted);
  EXPECT_EQ(outcome.postedKind, c.cardKind);
  EXPECT_EQ(outcome.cardKind, c.identified.TipoAtualizacao);
  Lines expected{"IdentificarFicha CODE 21"};
  expected.insert(expected.end(), c.calls.begin(), c.calls.end());
  EXPECT_EQ(production.calls, expected);
  ASSERT_FALSE(production.validated.empty());
  EXPECT_EQ(production.validated.front().Funcionario, "017");
  if (c.identified.FichaCorte && c.posted) {
    EXPECT_EQ(production.cutCardTimes, (std::vector<db::Timestamp>{{2025, 3, 4, 8, 12, 33}}));
  }
  if (production.validated.size() == 2) {
    // The card itself, validated again after its last operation.
    EXPECT_EQ(production.validated[1].Operacao, "");
    EXPECT_EQ(production.validated[1].DataHora, (db::Timestamp{2025, 3, 4, 8, 12, 33}));
  }
}

const TRetorno kRefused{false, "Setor \"30\" inv\xE1lido para o Funcionario."};

INSTANTIATE_TEST_SUITE_P(
    Kinds, PostCardTest,
    testing::Values(
        PostCase{"WholeCard",
                 Card("F"),
                 {},
                 true,
                 true,
                 "F",
                 {"ValidaAtuProducao F", "GravarAtuProducao"}},
        PostCase{"SubCard",
                 Card("S", true),
                 {},
                 true,
                 true,
                 "S",
                 {"ValidaAtuProducao S", "GravarAtuProducao"}},
        PostCase{"BoxLabel",
                 Card("T"),
                 {},
                 true,
                 true,
                 "T",
                 {"ValidaAtuProducao T", "GravarAtuProducao"}},
        PostCase{"SubProductionLabel",
                 Card("I", true),
                 {},
                 true,
                 true,
                 "I",
                 {"ValidaAtuProducao I", "GravarAtuProducao"}},
        PostCase{"CutCardOnlyByItsOwnWriter",
                 Card("FC", false, true),
                 {},
                 true,
                 true,
                 "FC",
                 {"ValidaAtuProducao FC", "GravarFichaCorteAtuSetor"}},
        PostCase{"RefusedByValidationWritesNothing",
                 Card("F"),
                 {kRefused},
                 true,
                 false,
                 "",
                 {"ValidaAtuProducao F"}},
        PostCase{"OperationWithOthersStillOpen",
                 Card("O"),
                 {},
                 false,
                 true,
                 "O",
                 {"ValidaAtuProducao O", "GravarProdSetorOperacao", "OperacoesSetorConcluidas"}},
        PostCase{"LastOperationPostsTheWholeCard",
                 Card("O"),
                 {},
                 true,
                 true,
                 "F",
                 {"ValidaAtuProducao O", "GravarProdSetorOperacao", "OperacoesSetorConcluidas",
                  "ValidaAtuProducao F", "GravarAtuProducao"}},
        PostCase{"LastOperationPostsTheSubCard",
                 Card("O", true),
                 {},
                 true,
                 true,
                 "S",
                 {"ValidaAtuProducao O", "GravarProdSetorOperacao", "OperacoesSetorConcluidas",
                  "ValidaAtuProducao S", "GravarAtuProducao"}},
        // The operation stays recorded; the card is not.
        PostCase{"LastOperationWhoseCardIsRefused",
                 Card("O"),
                 {{true, ""}, kRefused},
                 true,
                 false,
                 "",
                 {"ValidaAtuProducao O", "GravarProdSetorOperacao", "OperacoesSetorConcluidas",
                  "ValidaAtuProducao F"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardPathRefusals, IdentificationRefusalIsTheAnswerAndNothingElseRuns) {
  FakeCardSteps production;
  const CardOutcome outcome = PostCard(production, {"280000000099", "017", "10"});

  EXPECT_FALSE(outcome.answer.Sucesso);
  EXPECT_TRUE(outcome.sector.empty());
  EXPECT_EQ(outcome.answer.Mensagem, "Ficha 280000000099 n\xE3o encontrada.");
  EXPECT_EQ(production.calls, Lines{"IdentificarFicha 280000000099 10"});
}

TEST(CardPathRefusals, ACardRunAgainAfterAConflictStartsFromTheCardAsIdentified) {
  FakeCardSteps production;
  production.cards["1"].request = Card("F");
  production.runsPerUnit = 2;
  production.complete = [](TDadosAtuProducao& request) {
    request.Qtde = 12;
    request.TipoAtualizacao = "S";
  };
  const CardOutcome outcome = PostCard(production, {"1", "017", ""});

  EXPECT_TRUE(outcome.answer.Sucesso);

  ASSERT_EQ(production.units.size(), 1u);
  EXPECT_EQ(production.units[0].Funcionario, "017");
  ASSERT_EQ(production.validated.size(), 2u);
  EXPECT_EQ(production.validated[1].Qtde, 0);
  EXPECT_EQ(production.validated[1].TipoAtualizacao, "F");
  EXPECT_EQ(outcome.postedKind, "S");
}

TEST(CardPathRefusals, AFailureOnTheWayComesBackWithTheCardItNames) {
  FakeCardSteps production;
  production.cards["1"].request = Card("S", true);
  production.cards["1"].request.Setor = "40";
  production.onWrite = [](const std::string&) { throw db::DatabaseError("deadlock"); };

  const CardOutcome outcome = PostCard(production, {"1", "017", "30"});

  ASSERT_TRUE(outcome.failure);
  EXPECT_THROW(std::rethrow_exception(outcome.failure), db::DatabaseError);
  EXPECT_FALSE(outcome.answer.Sucesso);
  EXPECT_TRUE(outcome.postedKind.empty());
  EXPECT_EQ(outcome.sector, "40");
  EXPECT_EQ(outcome.cardKind, "S");
}

}  // namespace
}  // namespace mts
