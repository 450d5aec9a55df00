#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProductionDatabaseTest.h"
#include "RecordingData.h"
#include "production/stock/ELancProducaoEstoqueException.h"
#include "production/stock/TdmEstoqueProducao.h"

namespace mts::test {
namespace {

using namespace recording;
using Lines = std::vector<std::string>;

class StockPostingTest : public ProductionDatabaseTest {
 public:
  static void SetUpTestSuite() {
    ProductionDatabaseTest::SetUpTestSuite();
    installEntryFault(connection());
  }

 protected:
  void SetUp() override {
    ProductionDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    clearTables(connection());
    setEntryFault(connection(), false);
    addCard(connection());
    estoque.DefinirConexao(connection());
  }

  static TRegEntradaEstoqueProd request(TTipoLancProducaoEstoque kind) {
    TRegEntradaEstoqueProd reg;
    reg.Filial = 1;
    reg.Usuario = "FUNC:007";
    reg.DataLanc = kServerTime;  // the entries are dated at 00:00 of that day
    reg.TipoLancProducaoEstoque = kind;
    return reg;
  }
  static TRegEntradaEstoqueProd cardRequest() {
    TRegEntradaEstoqueProd reg = request(lpeFicha);
    reg.Programacao = kProg;
    reg.Ficha = kFicha;
    return reg;
  }
  static TRegEntradaEstoqueProd itemRequest(const std::string& item,
                                            TTipoLancProducaoEstoque kind = lpePedidoItem) {
    TRegEntradaEstoqueProd reg = request(kind);
    reg.Pedido = kPedido;
    reg.ItemPed = item;
    return reg;
  }
  static std::int64_t nextEntryId() {
    return queryOne("select gen_id(ID_PRODUCAO_ESTOQUE, 0) as ID from rdb$database").bigint("ID");
  }

  TdmEstoqueProducao estoque;
};

TEST_F(StockPostingTest, CardPostsEveryOpenSizeOnceAndNothingTheSecondTime) {
  addItem(connection(), "003", {{"39", 5}}, "E");                    // already in stock
  addItem(connection(), "004", {{"39", 5}}, "P", std::string("C"));  // out of production
  addItem(connection(), "005", {{"40", 3}}, "L");                    // released: still open
  addItem(connection(), "006", {{"*", 2}});                          // entered with an empty size

  estoque.EntradaEstoqueProducao(cardRequest());
  EXPECT_EQ(entries(connection()),
            (Lines{"001 37 10", "001 38 10", "002 38 10", "005 40 3", "006  2"}));
  EXPECT_EQ(count("ENTRADAMP"), 5);

  const db::Row entry = queryOne(
      "select EMP.*, PE.* from ENTRADAMP EMP join PRODUCAO_ESTOQUE PE on PE.ITEM_EMP_ES = "
      "EMP.ITEM_EMP where PE.ITEM_PED_ES = '001' and EMP.TAMANHO_EMP = '37'");
  EXPECT_EQ(entry.integer("FILIAL_EMP"), 2);  // the order's branch
  EXPECT_EQ(entry.integer("FORNEC_EMP"), -1);
  EXPECT_EQ(entry.text("DOCTO_EMP"), "PRODES");
  EXPECT_EQ(entry.text("SERIE_EMP"), "ES");
  EXPECT_EQ(entry.integer("ORDEM_EMP"), 1);
  EXPECT_EQ(entry.integer("ID_ES"), entry.integer("ITEM_EMP"));
  EXPECT_EQ(entry.timestamp("DATA_EMP"), (db::Timestamp{2026, 12, 10}));
  EXPECT_EQ(entry.timestamp("DATA_ES"), (db::Timestamp{2026, 12, 10}));
  EXPECT_EQ(entry.text("TIPO_EMP"), "EP");
  EXPECT_EQ(entry.text("PROD_EMP") + "/" + entry.text("PADRON_EMP"), "PR01/01");
  EXPECT_EQ(entry.text("PROG_EMP") + "/" + entry.text("FICHA_EMP"), kProg + "/" + kFicha);
  EXPECT_EQ(entry.text("USUARIO_EMP"), "FUNC:007");
  EXPECT_EQ(entry.text("USUARIO_ES"), "FUNC:007");
  EXPECT_EQ(entry.text("ATUEST_EMP") + entry.text("COMGRADE_EMP") + entry.text("MOV_FISICA_EMP"),
            "NNS");
  EXPECT_EQ(entry.integer("MPRIMA_EMP"), 0);
  EXPECT_EQ(entry.integer("ID_ESTOQUE_MOV_INT_EMP"), 0);
  EXPECT_EQ(entry.text("PEDIDO_ES") + "/" + entry.text("ITEM_PED_ES"), kPedido + "/001");
  EXPECT_EQ(entry.text("PROG_ES") + "/" + entry.text("FICHA_ES") + "/" + entry.text("SUBFICHA_ES"),
            kProg + "/" + kFicha + "/");
  EXPECT_EQ(entry.text("STATUS_ES"), "A");
  EXPECT_EQ(entry.integer("CODIGO_CXCOLET_ES") + entry.integer("CODIGO_CXUNIT_ES"), 0);
  EXPECT_EQ(entry.integer("ID_PROD_ITEM_ESTOQUE_EMP"),
            queryOne("select ID_PI from PROD_ITEM_ESTOQUE where CODIGO_PI = 'PR01.01.37'")
                .integer("ID_PI"));

  const std::int64_t idsBefore = nextEntryId();
  estoque.EntradaEstoqueProducao(cardRequest());
  EXPECT_EQ(count("ENTRADAMP"), 5);
  EXPECT_EQ(nextEntryId(), idsBefore);
  ASSERT_EQ(estoque.cdsProdEst().size(), 5u);
  for (const ProdEstRow& row : estoque.cdsProdEst()) {
    EXPECT_EQ(row.QTDE_JA_LANCADA, row.QTPED_IT) << row.ITEM_IT << " " << row.TAM_IT;
    EXPECT_EQ(row.QTDE_NOVO_LANC, StockQuantity()) << row.ITEM_IT << " " << row.TAM_IT;
  }
}

TEST_F(StockPostingTest, SubCardFillsTheRowsOfASizeInOrder) {
  for (const auto& [id, size, pairs] :
       std::vector<std::tuple<int, std::string, int>>{{1, "38", 12}, {2, "41", 3}, {3, "37", 1}}) {
    insert("SUBPROD", {{"ID_PR", id},
                       {"PROG_PR", kProg},
                       {"FICHA_PR", kFicha},
                       {"SUBFICHA_PR", std::string("0002")},
                       {"TAMA_PR", size},
                       {"QTDE_PR", pairs}});
  }
  TRegEntradaEstoqueProd reg = cardRequest();
  reg.TipoLancProducaoEstoque = lpeSubFicha;
  reg.Subficha = "0002";

  estoque.EntradaEstoqueProducao(reg);
  // Size 41 has no row and is skipped.
  EXPECT_EQ(entries(connection()), (Lines{"001 37 1", "001 38 10", "002 38 2"}));
  EXPECT_EQ(count("PRODUCAO_ESTOQUE", "SUBFICHA_ES = '0002' and PROG_ES = :P", {{"P", kProg}}), 3);
}

TEST_F(StockPostingTest, OrderItemGetsWhatActiveLinksHaveNotEnteredYet) {
  addItem(connection(), "006", {{"38", 20}});
  TRegEntradaEstoqueProd fixed = itemRequest("006", lpePedidoItemQtde);
  fixed.Qtde = 15;
  estoque.EntradaEstoqueProducao(fixed);

  estoque.EntradaEstoqueProducao(itemRequest("006"));
  EXPECT_EQ(entries(connection()), (Lines{"006 38 15", "006 38 5"}));

  fixed.Qtde = 5;  // over-posted: 25 of 20
  estoque.EntradaEstoqueProducao(fixed);
  estoque.EntradaEstoqueProducao(itemRequest("006"));
  EXPECT_EQ(count("ENTRADAMP"), 3);

  // Cancelled links no longer count as posted.
  execute("update PRODUCAO_ESTOQUE set STATUS_ES = 'C'");
  estoque.EntradaEstoqueProducao(itemRequest("006"));
  EXPECT_EQ(count("PRODUCAO_ESTOQUE", "STATUS_ES = 'A'"), 1);
  EXPECT_EQ(entries(connection()).back(), "006 38 20");
  EXPECT_EQ(queryOne("select PROG_ES, FICHA_ES from PRODUCAO_ESTOQUE where STATUS_ES = 'A'")
                .text("PROG_ES"),
            "");
}

TEST_F(StockPostingTest, EntryBranchAndDocument) {
  struct Case {
    const char* name;
    std::string atuFilialProg;
    db::Value programmeBranch, orderBranch;
    std::string document;
    int expectedBranch;
    std::string expectedDocument;
  };
  const std::vector<Case> cases = {
      {"programme wins", "S", 3, 2, "", 3, "PRODES"},
      {"parameter absent", "", 3, 2, "", 2, "PRODES"},
      {"no programme branch", "S", 0, 2, "NF123", 2, "NF123"},
      {"no branch at all", "S", db::Null{}, db::Null{}, "", 1, "PRODES"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    execute("delete from PRODUCAO_ESTOQUE");
    execute("delete from ENTRADAMP");
    execute("delete from PARAM");
    if (!c.atuFilialProg.empty()) setParam("PRODUCAO_ESTOQUE", "ATU_FILIAL_PROG", c.atuFilialProg);
    execute("update PROGRAMACAO set FILIAL_PO = :F", {{"F", c.programmeBranch}});
    execute("update PEDVENDA set FILIAL_PV = :F", {{"F", c.orderBranch}});
    TRegEntradaEstoqueProd reg = itemRequest("002");
    reg.Documento = c.document;

    estoque.EntradaEstoqueProducao(reg);
    const db::Row row = queryOne(
        "select EMP.FILIAL_EMP, EMP.DOCTO_EMP, PE.FILIAL_EMP_ES, PE.DOCTO_EMP_ES from ENTRADAMP "
        "EMP join PRODUCAO_ESTOQUE PE on PE.ITEM_EMP_ES = EMP.ITEM_EMP");
    EXPECT_EQ(row.integer("FILIAL_EMP"), c.expectedBranch);
    EXPECT_EQ(row.integer("FILIAL_EMP_ES"), c.expectedBranch);
    EXPECT_EQ(row.text("DOCTO_EMP"), c.expectedDocument);
    EXPECT_EQ(row.text("DOCTO_EMP_ES"), c.expectedDocument);
  }
}

TEST_F(StockPostingTest, StockItemsAreCreatedOnceWithCodeAndDescription) {
  insert("FILIAL",
         {{"COD_FI", 2}, {"EMISNOTA_FORMA_AGRUP_ITENS_FI", std::string("PRODPADTAMREF")}});
  insert("PRODUTO", {{"COD_PR", std::string("PR'2")},
                     {"DESC_PR", std::string("TENIS")},
                     {"DESCNF_PR", std::string("TENIS NF")}});
  addItem(connection(), "008", {{"*", 4}});
  addItem(connection(), "009", {{"40", 4}}, "P", db::Null{}, "PR'2");  // no standard description

  estoque.EntradaEstoqueProducao(cardRequest());
  std::vector<std::string> items;
  for (const db::Row& row :
       query("select CODIGO_PI, PROD_PI, PADRON_PI, TAMANHO_PI, DESCRICAO_PI, STATUS_PI, "
             "USUARIO_INCLUSAO_PI, DATA_INCLUSAO_PI from PROD_ITEM_ESTOQUE order by CODIGO_PI")) {
    EXPECT_EQ(row.text("STATUS_PI") + " " + row.text("USUARIO_INCLUSAO_PI"), "A AUTOMATICO");
    EXPECT_FALSE(row.isNull("DATA_INCLUSAO_PI"));
    items.push_back(row.text("CODIGO_PI") + "|" + row.text("PADRON_PI") + "|" +
                    row.text("TAMANHO_PI") + "|" + row.text("DESCRICAO_PI"));
  }
  EXPECT_EQ(items,
            (Lines{"PR'2.01.40|01|40|TENIS NF", "PR01.01|01|*|TENIS CASUAL PRETO * REF PR01.01",
                   "PR01.01.37|01|37|TENIS CASUAL PRETO 37 REF PR01.01.37",
                   "PR01.01.38|01|38|TENIS CASUAL PRETO 38 REF PR01.01.38"}));
  EXPECT_EQ(count("ENTRADAMP", "TAMANHO_EMP = ''"), 1);
  // Both size-38 entries move the same stock item.
  EXPECT_EQ(queryOne("select count(distinct ID_PROD_ITEM_ESTOQUE_EMP) as N from ENTRADAMP where "
                     "TAMANHO_EMP = '38'")
                .integer("N"),
            1);

  addItem(connection(), "010", {{"38", 4}});
  estoque.EntradaEstoqueProducao(itemRequest("010"));
  EXPECT_EQ(count("PROD_ITEM_ESTOQUE"), 4);
}

TEST_F(StockPostingTest, FixedQuantitiesAreEnteredExactly) {
  TRegEntradaEstoqueProd loose = request(lpeAvulso);
  loose.Produto = "PR01";
  loose.Padronizacao = "01";
  loose.Tamanho = "37";
  loose.Qtde = 0.5;
  estoque.EntradaEstoqueProducao(loose);
  TRegEntradaEstoqueProd internal = loose;
  internal.TipoLancProducaoEstoque = lpeMovimentoInterno;
  internal.IdMovEstInterno = 9;
  internal.Qtde = 0.25;
  estoque.EntradaEstoqueProducao(internal);

  EXPECT_EQ(entries(connection()), (Lines{"000 37 0.5", "000 37 0.25"}));
  EXPECT_EQ(queryOne("select count(distinct ITEM_EMP) as N from ENTRADAMP").integer("N"), 2);
  const db::Row link = queryOne(
      "select PE.*, EMP.ID_ESTOQUE_MOV_INT_EMP, EMP.PROG_EMP from PRODUCAO_ESTOQUE PE join "
      "ENTRADAMP EMP on EMP.ITEM_EMP = PE.ITEM_EMP_ES where PE.ID_ESTOQUE_MOV_INT_ES = 9");
  EXPECT_EQ(link.integer("ID_ESTOQUE_MOV_INT_EMP"), 0);
  EXPECT_EQ(link.text("PEDIDO_ES") + "/" + link.text("PROG_EMP"), "00000000/000000");

  const std::int64_t idsBefore = nextEntryId();
  loose.Qtde = 0;
  estoque.EntradaEstoqueProducao(loose);
  EXPECT_EQ(count("ENTRADAMP"), 2);
  EXPECT_EQ(nextEntryId(), idsBefore);
}

TEST_F(StockPostingTest, BoxesPostTheirPairs) {
  insert("CODCXCOLET", {{"CODIGO_CX", 500},
                        {"PEDIDO_CX", kPedido},
                        {"ITEMPED_CX", std::string("001")},
                        {"NUMERACAO_CX", std::string("37 38 39")},
                        {"QTPARES_CX", std::string(" 4  6  9")}});
  insert("CODCXUNIT", {{"CODIGO_CX", 600},
                       {"PEDIDO_CX", kPedido},
                       {"ITEM_CX", std::string("002")},
                       {"TAM_CX", std::string("38")}});
  TRegEntradaEstoqueProd collective = request(lpeCaixaColetiva);
  collective.CodigoCxColet = 500;
  collective.Programacao = kProg;  // cleared: not written for a box
  estoque.EntradaEstoqueProducao(collective);
  TRegEntradaEstoqueProd unit = request(lpeCaixaUnitaria);
  unit.CodigoCxUnit = 600;
  estoque.EntradaEstoqueProducao(unit);

  EXPECT_EQ(entries(connection()), (Lines{"001 37 4", "001 38 6", "002 38 1"}));
  EXPECT_EQ(count("PRODUCAO_ESTOQUE",
                  "CODIGO_CXCOLET_ES = 500 and CODIGO_CXUNIT_ES = 0 and "
                  "PROG_ES = ''"),
            2);
  EXPECT_EQ(count("PRODUCAO_ESTOQUE", "CODIGO_CXUNIT_ES = 600 and CODIGO_CXCOLET_ES = 0"), 1);
}

TEST_F(StockPostingTest, RequestsThatCannotBePostedRaiseAndWriteNothing) {
  insert("CODCXCOLET", {{"CODIGO_CX", 501}, {"NUMERACAO_CX", std::string("37")}});  // cancelled
  struct Case {
    const char* name;
    TRegEntradaEstoqueProd reg;
    std::string message;
  };
  TRegEntradaEstoqueProd early = cardRequest();
  early.DataLanc = {2016, 12, 31, 23, 59, 0, 0};
  TRegEntradaEstoqueProd kind7 = cardRequest();
  kind7.TipoLancProducaoEstoque = static_cast<TTipoLancProducaoEstoque>(7);
  TRegEntradaEstoqueProd noUnitBox = request(lpeCaixaUnitaria);
  noUnitBox.CodigoCxUnit = 999;
  TRegEntradaEstoqueProd noBox = request(lpeCaixaColetiva);
  noBox.CodigoCxColet = 999;
  TRegEntradaEstoqueProd cancelledBox = request(lpeCaixaColetiva);
  cancelledBox.CodigoCxColet = 501;
  const std::vector<Case> cases = {
      {"date before 2017", early, "O parametro DataLanc n\xE3o foi informado corretamente."},
      {"kind 7", kind7, "Parametro TipoLancProducaoEstoque n\xE3o foi informado corretamente."},
      {"unit box not found", noUnitBox,
       "A caixa unit\xE1ria 999 n\xE3o foi encontrada ou n\xE3o tem item de pedido."},
      {"box not found", noBox,
       "A caixa coletiva 999 n\xE3o foi encontrada ou n\xE3o tem item de pedido."},
      {"cancelled box", cancelledBox,
       "A caixa coletiva 501 n\xE3o foi encontrada ou n\xE3o tem item de pedido."},
  };
  const std::int64_t idsBefore = nextEntryId();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      estoque.EntradaEstoqueProducao(c.reg);
      ADD_FAILURE() << "posted";
    } catch (const ELancProducaoEstoqueException& error) {
      EXPECT_EQ(error.what(), c.message);
    }
    EXPECT_FALSE(connection().inTransaction());
  }
  EXPECT_EQ(count("ENTRADAMP") + count("PRODUCAO_ESTOQUE") + count("PROD_ITEM_ESTOQUE"), 0);
  EXPECT_EQ(nextEntryId(), idsBefore);

  // Box postings switched off: nothing, and no error even for a box not found.
  setParam("PRODUCAO_ESTOQUE", "ATU_CODCXCOLET", std::string("N"));
  setParam("PRODUCAO_ESTOQUE", "ATU_CODCXUNIT", std::string("N"));
  EXPECT_NO_THROW(estoque.EntradaEstoqueProducao(noBox));
  EXPECT_NO_THROW(estoque.EntradaEstoqueProducao(noUnitBox));
  EXPECT_EQ(count("ENTRADAMP"), 0);
}

TEST_F(StockPostingTest, AFailedEntryUndoesThePostingsOwnTransaction) {
  setEntryFault(connection(), true);
  EXPECT_THROW(estoque.EntradaEstoqueProducao(cardRequest()), db::DatabaseError);
  EXPECT_FALSE(connection().inTransaction());
  setEntryFault(connection(), false);
  EXPECT_EQ(count("ENTRADAMP") + count("PRODUCAO_ESTOQUE") + count("PROD_ITEM_ESTOQUE"), 0);

  estoque.EntradaEstoqueProducao(cardRequest());
  EXPECT_EQ(entries(connection()), (Lines{"001 37 10", "001 38 10", "002 38 10"}));
}

}  // namespace
}  // namespace mts::test
