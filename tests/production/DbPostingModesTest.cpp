// Each pair posted once in every posting mode, from the scan to the rows it
// leaves: PRODUCAO_SETOR, the stock entries with their ENTRADAMP movements and
// the status of the card's order item.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingData.h"
#include "ValidationDatabaseTest.h"

namespace mts::test {
namespace {

using Lines = std::vector<std::string>;

const char* const kAccepted = "(accepted)";

// Card 000200/0001 of 24 pairs on order item PV000002/001 (sizes 38 to 41, 6
// pairs each): sub-card 0001 holds labels 201 (38) and 202 (39), sub-card
// 0002 labels 203 (40) and 204 (41); box 301 is the talão of sub-card 0001.
// Postings are made in sector 01 CORTE, which posts stock (branch 1) and marks
// complete cards' items as in stock.
class PostingModesTest : public ValidationDatabaseTest {
 protected:
  void SetUp() override {
    ValidationDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    for (const char* table : {"ENTRADAMP", "PRODUCAO_ESTOQUE", "PROD_ITEM_ESTOQUE"}) {
      execute(std::string("delete from ") + table);
    }
    factory.card({.prog = "000200",
                  .ficha = "0001",
                  .pairs = 24,
                  .order = "PV000002",
                  .sizes = {{"38", 6}, {"39", 6}, {"40", 6}, {"41", 6}}});
    int id = 201;
    for (const auto& [subFicha, size] : std::vector<std::pair<std::string, std::string>>{
             {"0001", "38"}, {"0001", "39"}, {"0002", "40"}, {"0002", "41"}}) {
      factory.subCard({.id = id++,
                       .prog = "000200",
                       .ficha = "0001",
                       .subFicha = subFicha,
                       .pairs = 6,
                       .size = size});
    }
    factory.box({.code = 301, .order = "PV000002", .talao = "0001", .pairs = 12});
    factory.changeSector("01", "LIBERAR_SE", std::string("S"));
    factory.changeSector("01", "ATU_SIT_ITEM_ESTOQUE_SE", std::string("S"));
    factory.param("FILIAL_ESTOQUE", "1", "PRODUCAO_ESTOQUE");
  }

  // The module reads the parameters when it is made: switch the modes first.
  void start() {
    module = createModule();
    ASSERT_TRUE(startupErrors.empty());
  }

  // A terminal's scan: validation, then recording when it accepts. The
  // refusal's message, or kAccepted.
  std::string scan(const TDadosAtuProducao& request) {
    module->DadosAtuProducao = request;
    const TRetorno answer = module->ValidaAtuProducao();
    if (!answer.Sucesso) return answer.Mensagem;
    module->GravarAtuProducao();
    return kAccepted;
  }

  static TDadosAtuProducao card200(const std::string& subFicha, const std::string& employee) {
    TDadosAtuProducao dados = withEmployee(subCard("01", subFicha), employee);
    dados.Prog = "000200";
    return dados;
  }
  static TDadosAtuProducao subCard200(const std::string& subFicha,
                                      const std::string& employee = "001") {
    return card200(subFicha, employee);
  }
  static TDadosAtuProducao label200(int id, const std::string& employee = "001") {
    TDadosAtuProducao dados = card200(id < 203 ? "0001" : "0002", employee);
    dados.TipoAtualizacao = "I";
    dados.IdSubProd = id;
    return dados;
  }
  static TDadosAtuProducao box301(const std::string& employee = "001") {
    TDadosAtuProducao dados = card200("0001", employee);
    dados.TipoAtualizacao = "T";
    dados.CodCxColet = 301;
    return dados;
  }

  // "sub-card|kind|employee|pairs|box|label|entry|exit" of every posting, in
  // the order they were made; entry and exit say whether the date and the
  // hour are set.
  static Lines sectorRows() {
    Lines rows;
    for (const db::Row& row : query("select * from PRODUCAO_SETOR order by ID_PS")) {
      const auto moment = [&row](const char* date, const char* hour, const char* name) {
        const bool set = !row.isNull(date) && !row.text(hour).empty();
        return set ? std::string(name) : std::string("-");
      };
      rows.push_back(row.text("SUBFICHA_PS") + "|" + row.text("TIPO_ATUALIZACAO_PS") + "|" +
                     row.text("FUNCIONAR_PS") + "|" + row.text("QTDE_PS") + "|" +
                     row.text("CODCXCOLET_PS") + "|" + row.text("ID_SUBPROD_PS") + "|" +
                     moment("DTENTRADA_PS", "HORAENTRADA_PS", "in") + "|" +
                     moment("DTSAIDA_PS", "HORASAIDA_PS", "out"));
    }
    return rows;
  }
  // "item size pairs" of every stock entry and its production link.
  Lines stock() { return recording::entries(connection()); }
  static std::string itemStatus() {
    return queryOne("select SIT_IT from ITENSPV where PEDIDO_IT = 'PV000002'").text("SIT_IT");
  }

  std::unique_ptr<TdmAtuProducao> module;
};

TEST_F(PostingModesTest, EntryExitRecordsTheExitOfABoxAndOfASubProductionLabel) {
  factory.param("BAIXA_SETOR_ENTRADA", "S");
  start();
  const std::string labelPosted =
      "C\xF3"
      "d. Cx Colet. ou C\xF3"
      "d. SubFicha j\xE1 baixado. Func: ANA";

  EXPECT_EQ(scan(box301()), kAccepted);
  EXPECT_EQ(sectorRows(), (Lines{"0001|T|001|12|301|0|in|-"}));
  EXPECT_EQ(scan(box301("002")), kAccepted);
  EXPECT_EQ(scan(box301()), labelPosted);

  EXPECT_EQ(scan(label200(203)), kAccepted);
  EXPECT_EQ(scan(label200(203, "002")), kAccepted);
  EXPECT_EQ(scan(label200(203)), labelPosted);

  // Each row keeps its entry employee and quantity; the stock and the item
  // follow the entries, once.
  EXPECT_EQ(sectorRows(), (Lines{"0001|T|001|12|301|0|in|out", "0002|I|001|6|0|203|in|out"}));
  EXPECT_EQ(stock(), (Lines{"001 38 6", "001 39 6", "001 40 6", "001 41 6"}));
  EXPECT_EQ(count("ENTRADAMP", "TIPO_EMP = 'EP'"), 4);
  EXPECT_EQ(itemStatus(), "P");  // 18 of 24 pairs in the sector
}

TEST_F(PostingModesTest, EntryExitReleasesABoxesItemAtTheEntryOnly) {
  factory.param("BAIXA_SETOR_ENTRADA", "S");
  factory.param("VERIFICA_LIBERACAO_ITEM_TALAO", "S");
  start();

  EXPECT_EQ(scan(box301()), kAccepted);
  const int releasedAtEntry = count("LOG_ALTERACAO");
  const std::string statusAtEntry = itemStatus();
  const Lines stockAtEntry = stock();
  EXPECT_EQ(releasedAtEntry, 1);

  // The exit times the row and leaves the release, its log and the stock as
  // the entry made them.
  EXPECT_EQ(scan(box301("002")), kAccepted);
  EXPECT_EQ(sectorRows(), (Lines{"0001|T|001|12|301|0|in|out"}));
  EXPECT_EQ(count("LOG_ALTERACAO"), releasedAtEntry);
  EXPECT_EQ(itemStatus(), statusAtEntry);
  EXPECT_EQ(stock(), stockAtEntry);
}

TEST_F(PostingModesTest, EntryExitCompletesOnlyTheOpenRowOfTheSameThing) {
  factory.param("BAIXA_SETOR_ENTRADA", "S");
  start();
  const std::string cortePosted = "Ficha j\xE1 atualizada no setor \"CORTE\". Func: ANA";

  // A sub-card after one of its labels is refused, as in every mode, and the
  // label's row stays open for the label's own exit.
  EXPECT_EQ(scan(label200(201)), kAccepted);
  EXPECT_EQ(scan(subCard200("0001", "002")), cortePosted);
  EXPECT_EQ(sectorRows(), (Lines{"0001|I|001|6|0|201|in|-"}));
  EXPECT_EQ(scan(label200(201)), kAccepted);

  // Another label of the sub-card is an entry of its own.
  EXPECT_EQ(scan(label200(202)), kAccepted);
  // The other sub-card: its entry, then its exit on its own row.
  EXPECT_EQ(scan(subCard200("0002")), kAccepted);
  EXPECT_EQ(scan(subCard200("0002", "002")), kAccepted);
  EXPECT_EQ(scan(subCard200("0002")), cortePosted);

  EXPECT_EQ(sectorRows(), (Lines{"0001|I|001|6|0|201|in|out", "0001|I|001|6|0|202|in|-",
                                 "0002|S|001|12|0|0|in|out"}));
  EXPECT_EQ(stock(), (Lines{"001 38 6", "001 39 6", "001 40 6", "001 41 6"}));
  EXPECT_EQ(itemStatus(), "E");  // 6 + 6 + 12 of 24
}

TEST_F(PostingModesTest, PartialPostingRecordsWhatTheSectorStillMisses) {
  factory.param("BAIXA_PARCIAL", "S");
  start();

  EXPECT_EQ(scan(label200(203)), kAccepted);
  // Sub-card 0002 has 12 pairs, 6 of them posted through its label.
  EXPECT_EQ(scan(subCard200("0002")), kAccepted);
  EXPECT_EQ(module->DadosAtuProducao.Qtde, 6);
  EXPECT_EQ(scan(subCard200("0002", "002")),
            "Ficha j\xE1 atualizada no setor \"CORTE\". Func: ANA");
  EXPECT_EQ(itemStatus(), "P");
  EXPECT_EQ(scan(subCard200("0001")), kAccepted);

  EXPECT_EQ(sectorRows(), (Lines{"0002|I|001|6|0|203|-|out", "0002|S|001|6|0|0|-|out",
                                 "0001|S|001|12|0|0|-|out"}));
  EXPECT_EQ(queryOne("select sum(QTDE_PS) as N from PRODUCAO_SETOR").bigint("N"), 24);
  EXPECT_EQ(stock(), (Lines{"001 38 6", "001 39 6", "001 40 6", "001 41 6"}));
  EXPECT_EQ(itemStatus(), "E");
}

TEST_F(PostingModesTest, PartialWithEntryExitPostsWhatIsMissingAndLeavesOthersRowsTheirExit) {
  factory.param("BAIXA_PARCIAL", "S");
  factory.param("BAIXA_SETOR_ENTRADA", "S");
  // Label 201's entry, recorded before partial posting was switched on.
  factory.posting({.prog = "000200",
                   .ficha = "0001",
                   .subFicha = "0001",
                   .sector = "01",
                   .employee = "002",
                   .pairs = 6,
                   .subProduction = 201,
                   .entry = db::Timestamp{2024, 5, 6, 8, 0, 0, 0},
                   .exit = std::nullopt});
  execute("update PRODUCAO_SETOR set HORAENTRADA_PS = '08:00', TIPO_ATUALIZACAO_PS = 'I'");
  start();

  // Every partial posting is a row of its own with the exit columns.
  EXPECT_EQ(scan(label200(203)), kAccepted);
  EXPECT_EQ(scan(label200(203)),
            "C\xF3"
            "d. Cx Colet. ou C\xF3"
            "d. SubFicha j\xE1 baixado. Func: ANA");
  EXPECT_EQ(scan(subCard200("0002")), kAccepted);
  EXPECT_EQ(scan(subCard200("0002")), "Ficha j\xE1 atualizada no setor \"CORTE\". Func: ANA");
  // Sub-card 0001 posts the 6 pairs its open label row does not hold, in a row
  // of its own; the label's row waits for the label's exit.
  EXPECT_EQ(scan(subCard200("0001")), kAccepted);
  EXPECT_EQ(scan(label200(201)), kAccepted);

  EXPECT_EQ(sectorRows(), (Lines{"0001|I|002|6|0|201|in|out", "0002|I|001|6|0|203|-|out",
                                 "0002|S|001|6|0|0|-|out", "0001|S|001|6|0|0|-|out"}));
  EXPECT_EQ(stock(), (Lines{"001 38 6", "001 39 6", "001 40 6", "001 41 6"}));
  EXPECT_EQ(itemStatus(), "E");
}

TEST_F(PostingModesTest, AStockSizeStarIsPostedOnce) {
  // The card's item also orders 2 pairs of size "*", entered with an empty size.
  insert("ITENSPVGRADE", {{"PEDIDO_IT", std::string("PV000002")},
                          {"ITEM_IT", std::string("001")},
                          {"TAM_IT", std::string("*")},
                          {"QTPED_IT", 2}});
  factory.changeSector("02", "LIBERAR_SE", std::string("S"));
  start();
  TDadosAtuProducao card = mainCard("01", "000200");
  card.SubFicha = "0000";
  card.PossuiSubFicha = false;
  EXPECT_EQ(scan(card), kAccepted);
  EXPECT_EQ(scan(withSector(card, "02")), kAccepted);

  EXPECT_EQ(stock(), (Lines{"001  2", "001 38 6", "001 39 6", "001 40 6", "001 41 6"}));
  EXPECT_EQ(count("ENTRADAMP", "TAMANHO_EMP = ''"), 1);
}

}  // namespace
}  // namespace mts::test
