#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "production/stock/ELancProducaoEstoqueException.h"
#include "production/stock/StockAllocation.h"
#include "production/stock/StockEntryRules.h"
#include "production/stock/StockQuantity.h"
#include "production/stock/StockRequestRules.h"

namespace mts {
namespace {

StockQuantity pairs(double value) {
  return StockQuantity::fromDouble(value);
}

TEST(ArredondarTest, RoundsHalvesAwayFromZeroAfterRemovingBinaryNoise) {
  struct Case {
    double value;
    int decimals;
    db::Decimal expected;
  };
  const std::vector<Case> cases = {
      {2.675, 2, {268, 2}},  // 267.49999999999997 in binary
      {-2.675, 2, {-268, 2}},
      {0.123456789, 8, {12345679, 8}},
      {2.9999999999999996, 8, {300000000, 8}},
      {0.1 + 0.2, 8, {30000000, 8}},
      {2.4999, 0, {2, 0}},
      {2.5, 0, {3, 0}},
      {-0.5, 0, {-1, 0}},
      {-0.4, 0, {0, 0}},
      {0.0, 8, {0, 8}},
      {1234567.125, 2, {123456713, 2}},
      {12.0, 0, {12, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " to " + std::to_string(c.decimals));
    EXPECT_EQ(Arredondar(c.value, c.decimals), c.expected);
  }
}

TEST(ArredondarTest, RefusesWhatDoesNotFitAnExactDecimal) {
  EXPECT_THROW(Arredondar(1e12, 8), std::out_of_range);
  EXPECT_THROW(Arredondar(1.0 / 0.0, 2), std::out_of_range);
}

TEST(StockQuantityTest, DatabaseValuesConvertExactly) {
  EXPECT_EQ(StockQuantity::fromValue(db::Null{}), StockQuantity());
  EXPECT_EQ(StockQuantity::fromValue(std::int32_t{20}), pairs(20));
  EXPECT_EQ(StockQuantity::fromValue(std::int64_t{20}), pairs(20));
  EXPECT_EQ(StockQuantity::fromValue(db::Decimal{15000000, 6}), pairs(15));
  EXPECT_EQ(StockQuantity::fromValue(db::Decimal{1234567895, 10}), pairs(0.1234567895));
  EXPECT_EQ(StockQuantity::fromValue(0.1 + 0.2).toDecimal(), (db::Decimal{30000000, 8}));
  EXPECT_THROW(StockQuantity::fromValue(std::string("1")), std::invalid_argument);
}

ProdEstRow rowOf(const std::string& size, double ordered, double posted = 0) {
  ProdEstRow row;
  row.TAM_IT = size;
  row.QTPED_IT = pairs(ordered);
  row.QTDE_JA_LANCADA = pairs(posted);
  return row;
}

TEST(LancarQtdePendenteTest, EntersWhatIsAskedUpToWhatIsPending) {
  struct Case {
    double ordered, posted, asked, entered;
  };
  const std::vector<Case> cases = {
      {20, 0, 20, 20},    // nothing posted yet
      {20, 15, 20, 5},    // partly posted
      {20, 25, 20, 0},    // over-posted: nothing, never negative
      {20, 20, 20, 0},    // posted twice: nothing the second time
      {10, 0, 12, 10},    // more asked than the row has
      {10, 0, 4, 4},      // less asked
      {10, 9.5, 1, 0.5},  // fractions stay exact
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.ordered) + "/" + std::to_string(c.posted) + "/" +
                 std::to_string(c.asked));
    ProdEstRow row = rowOf("38", c.ordered, c.posted);
    EXPECT_EQ(LancarQtdePendente(row, pairs(c.asked)), pairs(c.entered));
    EXPECT_EQ(row.QTDE_NOVO_LANC, pairs(c.entered));
  }
}

TEST(LancarQtdePendenteTest, ASizeAskedTwiceKeepsBothWithinWhatIsPending) {
  ProdEstRow row = rowOf("38", 10);
  EXPECT_EQ(LancarQtdePendente(row, pairs(5)), pairs(5));
  EXPECT_EQ(LancarQtdePendente(row, pairs(8)), pairs(5));
  EXPECT_EQ(row.QTDE_NOVO_LANC, pairs(10));
}

TEST(DistribuirSubFichaTest, SpreadsEachSizeOverItsRowsInOrder) {
  std::vector<ProdEstRow> rows = {rowOf("37", 5), rowOf("38", 10), rowOf("38", 10),
                                  rowOf("39", 4, 4)};
  DistribuirSubFicha(rows,
                     {{"38", pairs(12)}, {"40", pairs(3)}, {"39", pairs(2)}, {"37", pairs(2)}});
  EXPECT_EQ(rows[0].QTDE_NOVO_LANC, pairs(2));
  EXPECT_EQ(rows[1].QTDE_NOVO_LANC, pairs(10));
  EXPECT_EQ(rows[2].QTDE_NOVO_LANC, pairs(2));
  EXPECT_EQ(rows[3].QTDE_NOVO_LANC, pairs(0));  // already fully posted; size 40 has no row
}

TEST(DistribuirSubFichaTest, PairsBeyondWhatIsPendingAreNotEntered) {
  std::vector<ProdEstRow> rows = {rowOf("38", 10, 3), rowOf("38", 2)};
  DistribuirSubFicha(rows, {{"38", pairs(30)}});
  EXPECT_EQ(rows[0].QTDE_NOVO_LANC, pairs(7));
  EXPECT_EQ(rows[1].QTDE_NOVO_LANC, pairs(2));
}

TEST(DistribuirNumeracaoTest, ReadsSizeAndPairsEveryThreeCharacters) {
  struct Case {
    std::string numeracao, qtpares;
    std::vector<double> expected;  // rows 34, 35, 36, " 7"
  };
  const std::vector<Case> cases = {
      {"34 35 36", " 6 12  6", {6, 12, 6, 0}},
      {"34 35 36", " 6 xx  2", {6, 0, 2, 0}},  // not a number counts as 0
      {"34    36", " 6 12  6", {6, 0, 0, 0}},  // reading stops at the first blank size
      {"34 35 36", " 6", {6, 0, 0, 0}},        // pairs text shorter than the sizes
      {"36 34", "99  1", {1, 0, 6, 0}},        // capped by what is pending
      {" 7 34", " 1  1", {1, 0, 0, 1}},        // sizes match exactly, blanks included
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.numeracao + "\" / \"" + c.qtpares + "\"");
    std::vector<ProdEstRow> rows = {rowOf("34", 10), rowOf("35", 12), rowOf("36", 6),
                                    rowOf(" 7", 1)};
    DistribuirNumeracao(rows, c.numeracao, c.qtpares);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].QTDE_NOVO_LANC, pairs(c.expected[i])) << "row " << i;
    }
  }
}

TEST(DistribuirNumeracaoTest, ReadsAtMostThirtyThreeSizes) {
  std::string numeracao, qtpares;
  for (int size = 10; size < 44; ++size) {  // 34 sizes
    numeracao += std::to_string(size) + " ";
    qtpares += " 1 ";
  }
  std::vector<ProdEstRow> rows = {rowOf("42", 1), rowOf("43", 1)};
  DistribuirNumeracao(rows, numeracao, qtpares);
  EXPECT_EQ(rows[0].QTDE_NOVO_LANC, pairs(1));
  EXPECT_EQ(rows[1].QTDE_NOVO_LANC, pairs(0));
}

TRegEntradaEstoqueProd validRequest(TTipoLancProducaoEstoque kind) {
  TRegEntradaEstoqueProd reg;
  reg.DataLanc = {2026, 12, 10, 0, 0, 0, 0};
  reg.TipoLancProducaoEstoque = kind;
  reg.CodigoCxUnit = 5;
  reg.CodigoCxColet = 6;
  reg.Programacao = "000123";
  reg.Ficha = "0001";
  reg.Subficha = "0002";
  reg.Pedido = "PED1";
  reg.ItemPed = "001";
  reg.IdMovEstInterno = 9;
  return reg;
}

TEST(PrepararRequisicaoTest, RefusesAWrongRequestWithItsMessage) {
  struct Case {
    const char* name;
    int kind;
    void (*spoil)(TRegEntradaEstoqueProd&);
    std::string message;
  };
  const std::vector<Case> cases = {
      {"date", lpeFicha, [](auto& r) { r.DataLanc = {2016, 12, 31, 23, 59, 59, 9999}; },
       "O parametro DataLanc n\xE3o foi informado corretamente."},
      {"unit box", lpeCaixaUnitaria, [](auto& r) { r.CodigoCxUnit = 0; },
       "O parametro CodigoCxUnit n\xE3o foi informado corretamente."},
      {"collective box", lpeCaixaColetiva, [](auto& r) { r.CodigoCxColet = -1; },
       "O parametro CodigoCxColet n\xE3o foi informado corretamente."},
      {"card", lpeFicha, [](auto& r) { r.Ficha.clear(); },
       "Os parametros Programacao/Ficha n\xE3o for\xE3o informados corretamente."},
      {"sub-card", lpeSubFicha, [](auto& r) { r.Subficha.clear(); },
       "Os parametros Programacao/Ficha/Subficha n\xE3o for\xE3o informados corretamente."},
      {"order item", lpePedidoItem, [](auto& r) { r.ItemPed.clear(); },
       "Os parametros Pedido/ItemPed n\xE3o for\xE3o informados corretamente."},
      {"order item with quantity", lpePedidoItemQtde, [](auto& r) { r.Pedido.clear(); },
       "Os parametros Pedido/ItemPed n\xE3o for\xE3o informados corretamente."},
      {"internal movement", lpeMovimentoInterno, [](auto& r) { r.IdMovEstInterno = 0; },
       "O parametro IdMovEstInterno n\xE3o foi informado corretamente."},
      {"kind 7", 7, [](auto&) {},
       "Parametro TipoLancProducaoEstoque n\xE3o foi informado corretamente."},
      {"kind 9", 9, [](auto&) {},
       "Parametro TipoLancProducaoEstoque n\xE3o foi informado corretamente."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRegEntradaEstoqueProd reg = validRequest(static_cast<TTipoLancProducaoEstoque>(c.kind));
    c.spoil(reg);
    try {
      PrepararRequisicao(reg, {});
      ADD_FAILURE() << "accepted";
    } catch (const ELancProducaoEstoqueException& error) {
      EXPECT_EQ(error.what(), c.message);
    }
  }
}

TEST(PrepararRequisicaoTest, ClearsWhatTheKindMustNotWrite) {
  TRegEntradaEstoqueProd card = validRequest(lpeFicha);
  ASSERT_TRUE(PrepararRequisicao(card, {}));
  EXPECT_EQ(card.CodigoCxUnit, 0);
  EXPECT_EQ(card.CodigoCxColet, 0);
  EXPECT_EQ(card.Subficha, "");
  EXPECT_EQ(card.Programacao, "000123");

  TRegEntradaEstoqueProd item = validRequest(lpePedidoItem);
  ASSERT_TRUE(PrepararRequisicao(item, {}));
  EXPECT_EQ(item.Programacao + item.Ficha + item.Subficha, "");
  EXPECT_EQ(item.CodigoCxColet, 0);

  TRegEntradaEstoqueProd box = validRequest(lpeCaixaColetiva);
  ASSERT_TRUE(PrepararRequisicao(box, {}));
  EXPECT_EQ(box.CodigoCxColet, 6);
  EXPECT_EQ(box.CodigoCxUnit, 0);
  EXPECT_EQ(box.Programacao + box.Ficha + box.Subficha, "");
}

TEST(PrepararRequisicaoTest, BoxKindsSwitchedOffPostNothingEvenWhenWrong) {
  const StockParameters off = StockParameters::fromValues("N", "N", "");
  TRegEntradaEstoqueProd unit = validRequest(lpeCaixaUnitaria);
  unit.CodigoCxUnit = 0;
  EXPECT_FALSE(PrepararRequisicao(unit, off));
  TRegEntradaEstoqueProd collective = validRequest(lpeCaixaColetiva);
  collective.CodigoCxColet = 0;
  EXPECT_FALSE(PrepararRequisicao(collective, off));
}

TEST(StockParametersTest, BoxPostingsAreOffOnlyWithNAndProgrammeBranchOnlyWithS) {
  const StockParameters absent = StockParameters::fromValues("", "", "");
  EXPECT_TRUE(absent.ATU_CODCXCOLET);
  EXPECT_TRUE(absent.ATU_CODCXUNIT);
  EXPECT_FALSE(absent.ATU_FILIAL_PROG);
  const StockParameters set = StockParameters::fromValues("N", "S", "S");
  EXPECT_FALSE(set.ATU_CODCXCOLET);
  EXPECT_TRUE(set.ATU_CODCXUNIT);
  EXPECT_TRUE(set.ATU_FILIAL_PROG);
  EXPECT_FALSE(StockParameters::fromValues("", "", "s").ATU_FILIAL_PROG);
}

TEST(FilialDoLancamentoTest, ProgrammeThenOrderThenRequest) {
  struct Case {
    bool atuFilialProg;
    int programme, order, expected;
  };
  const std::vector<Case> cases = {
      {true, 3, 2, 3}, {false, 3, 2, 2}, {true, 0, 2, 2}, {true, 0, 0, 1}, {false, 3, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.atuFilialProg) + "/" + std::to_string(c.programme) + "/" +
                 std::to_string(c.order));
    ProdEstRow row;
    row.FILIAL_PROGRAMACAO = c.programme;
    row.FILIAL_PEDVENDA = c.order;
    EXPECT_EQ(FilialDoLancamento(row, c.atuFilialProg, 1), c.expected);
  }
}

TEST(ProdItemEstoqueTest, CodeLeavesOutEmptyAndStarParts) {
  EXPECT_EQ(CodigoProdItemEstoque("1234", "02", "37"), "1234.02.37");
  EXPECT_EQ(CodigoProdItemEstoque("1234", "*", "37"), "1234.37");
  EXPECT_EQ(CodigoProdItemEstoque("1234", "02", "*"), "1234.02");
  EXPECT_EQ(CodigoProdItemEstoque("1234", "", ""), "1234");
}

TEST(ProdItemEstoqueTest, Description) {
  struct Case {
    ProdItemDescriptionParts parts;
    std::string size, expected;
  };
  const std::vector<Case> cases = {
      {{"TENIS", "TENIS NF", "PRETO", ""}, "37", "TENIS NF PRETO 37"},
      {{"TENIS", "", "PRETO", ""}, "37", "TENIS PRETO 37"},
      {{"TENIS", "", "PRETO", "PRODPADTAMREF"}, "37", "TENIS PRETO 37 REF 1234.02.37"},
      {{"TENIS", "", "PRETO", "PRODPADTAMREF"}, "*", "TENIS PRETO * REF 1234.02.37"},
      {{"TENIS", "", "PRETO", ""}, "", "TENIS PRETO"},
      {{"TENIS", "", "", "PRODPADTAMREF"}, "37", "TENIS"},  // no standard description
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(DescricaoProdItemEstoque(c.parts, c.size, "1234.02.37"), c.expected);
  }
}

TEST(StockEntryRulesTest, DateWithoutTime) {
  EXPECT_EQ(SomenteData({2026, 12, 10, 23, 59, 59, 9999}), (db::Timestamp{2026, 12, 10}));
}

}  // namespace
}  // namespace mts
