// A shift on the demo factory, card by card, with the real production module:
// every kind of card posted, the refusals validation decides, and an operation
// card before and after its sector's operations are complete. These need the
// module's validation and recording.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DemoShopFloor.h"

namespace mts {
namespace {

struct Posting {
  const char* badge;
  const char* typed;
  std::string shown;  // the result text
};

// db/README.md's walk-through, in its order, from the fresh demo.
const std::vector<Posting> kWalkThrough{
    {"1004", "00010100010000", "FICHA ATUALIZADA"},
    {"1005", "00010100010000", "FICHA ATUALIZADA"},
    {"1006", "00010100010000", "FICHA ATUALIZADA"},
    {"1002", "00010100020001", "SUBFICHA ATUALIZADA"},
    {"1002", "100000203", "ID SUBFICHA ATUALIZADA"},
    {"1002", "100000204", "ID SUBFICHA ATUALIZADA"},
    {"1006", "1000030100", "TALAO ATUALIZADO"},
    {"1006", "1000030200", "TALAO ATUALIZADO"},
    {"1006", "1000030300", "TALAO ATUALIZADO"},
    {"1001", "280000000051", "FICHA CORTE ATUALIZADA"},
    {"1002", "280000000053", "FICHA CORTE ATUALIZADA"},
    {"1004", ".1.00000000071", "FICHA OP.SETOR ATUALIZADA"},
    {"1004", ".1.00000000072", "FICHA ATUALIZADA"},
    {"1004", "00010100050000", "FICHA ATUALIZADA"},
    {"1001", "00010200020000", "FICHA ATUALIZADA"},
};

TEST(CardPostingDb, EveryKindOfCardIsPostedAndAnsweredByItsKind) {
  test::DemoShopFloor floor;
  auto terminal = floor.Connect("127.0.0.1");
  for (const Posting& p : kWalkThrough) {
    SCOPED_TRACE(std::string(p.badge) + " " + p.typed);
    floor.Type(terminal, "\x1B" + std::string(p.badge) + "\r" + p.typed + "\r");
    const TRegConnection& record = floor.Terminal("127.0.0.1");
    // Row 3 holds 20 characters; the log has the whole text.
    EXPECT_EQ(record.ShownResult, p.shown.substr(0, 20)) << record.PendingError;
    EXPECT_EQ(floor.log.back(), "Indice Terminal: 0 Msg: " + p.shown);
  }

  auto posted = [&](const char* programme, const char* card, const char* subCard,
                    const char* sector) {
    return floor.Count("PRODUCAO_SETOR",
                       "PROG_PS = :P and FICHA_PS = :F and SUBFICHA_PS = :S and SETOR_PS = :T",
                       {{"P", std::string(programme)},
                        {"F", std::string(card)},
                        {"S", std::string(subCard)},
                        {"T", std::string(sector)}});
  };
  EXPECT_EQ(posted("000101", "0001", "0000", "30"), 1);
  EXPECT_EQ(posted("000101", "0001", "0000", "50"), 1);
  EXPECT_EQ(posted("000101", "0002", "0001", "21"), 1);
  EXPECT_EQ(posted("000101", "0004", "0000", "30"), 1);  // through its operation cards
  EXPECT_EQ(posted("000101", "0005", "0000", "30"), 1);
  EXPECT_EQ(floor.Count("PRODUCAO_SETOR", "CODCXCOLET_PS in (301, 302, 303)"), 3);
  EXPECT_EQ(floor.Count("PRODUCAO_SETOR", "ID_SUBPROD_PS in (203, 204)"), 2);
  EXPECT_EQ(floor.Count("FICHA_CORTE_ATU_SETOR", "ID_FICHA_CORTE_FS = 51 and SETOR_FS = '10'"), 1);
  EXPECT_EQ(floor.Count("FICHA_CORTE_ATU_SETOR", "ID_FICHA_CORTE_FS = 53 and SETOR_FS = '21'"), 1);
  EXPECT_EQ(floor.Count("PRODUCAO_SETOR_OPERACAO", "PROG_SO = '000101' and FICHA_SO = '0004'"), 2);
}

TEST(CardPostingDb, AnOperationCardIsRefusedAfterItsCardIsPostedAndTheCardBeforeItsOperations) {
  test::DemoShopFloor floor;
  auto terminal = floor.Connect("127.0.0.1");

  floor.Type(terminal, "1004\r00010100040000\r");
  EXPECT_EQ(floor.Terminal("127.0.0.1").ShownResult, "FICHA NAO ATUALIZADA");
  EXPECT_EQ(floor.Terminal("127.0.0.1").PendingError,
            "Ficha Opera\xE7\xE3o Setor gerada/n\xE3o atualizada, n\xE3o \xE9 poss\xEDvel "
            "atualizar a ficha.");

  floor.Type(terminal, ".1.00000000071\r");
  EXPECT_EQ(floor.Terminal("127.0.0.1").ShownResult, "FICHA OP.SETOR ATUAL");
  EXPECT_EQ(floor.Terminal("127.0.0.1").CardKind, "O");
  EXPECT_EQ(floor.Count("PRODUCAO_SETOR", "FICHA_PS = '0004' and SETOR_PS = '30'"), 0);

  floor.Type(terminal, ".1.00000000072\r");
  EXPECT_EQ(floor.Terminal("127.0.0.1").ShownResult, "FICHA ATUALIZADA");
  EXPECT_EQ(floor.Terminal("127.0.0.1").CardKind, "F");
  EXPECT_EQ(floor.Count("PRODUCAO_SETOR", "FICHA_PS = '0004' and SETOR_PS = '30'"), 1);

  floor.Type(terminal, ".1.00000000071\r");
  EXPECT_EQ(floor.Terminal("127.0.0.1").ShownResult, "FICHA NAO ATUALIZADA");
  EXPECT_EQ(floor.Terminal("127.0.0.1").PendingError.substr(0, 35),
            "Ficha de Opera\xE7\xE3o j\xE1 atualizada em ");
}

struct Refusal {
  const char* badge;
  const char* typed;
  std::string detail;
};

// Refusals validation decides, with their detail behind ",".
TEST(CardPostingDb, CardsRefusedByValidationAreNotWritten) {
  const std::vector<Refusal> refusals{
      {"1001", "00010100010000",
       "Ficha j\xE1 atualizada no setor \"CORTE\". Func: JO\xC3O BATISTA DA SILVA"},
      {"1002", "0001010001000030", "Setor \"30\" inv\xE1lido para o Funcionario."},
      {"1001", "00010100020001", "Tipo de Atualiza\xE7\xE3o Inv\xE1lida para o Setor."},
      {"1005", "00010100020000", "O setor \"MONTAGEM\" n\xE3o foi atualizado."},
      {"1001", "00009900010000", "Programa\xE7\xE3o Encerrada."},
      {"1001", "280000000053",
       "Ficha j\xE1 atualizada em 04/03/2025 08:12:33. Func: JO\xC3O BATISTA DA SILVA"},
  };
  test::DemoShopFloor floor;
  auto terminal = floor.Connect("127.0.0.1");
  const int postings = floor.Count("PRODUCAO_SETOR");
  const int cutPostings = floor.Count("FICHA_CORTE_ATU_SETOR");
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.typed);
    floor.Type(terminal, "\x1B" + std::string(r.badge) + "\r" + r.typed + "\r");
    EXPECT_EQ(floor.Terminal("127.0.0.1").ShownResult, "FICHA NAO ATUALIZADA");
    EXPECT_EQ(floor.Terminal("127.0.0.1").PendingError, r.detail);
    EXPECT_EQ(floor.received.back(),
              "Terminal 0 - Ficha " + std::string(r.typed) + " nao atualizada. Erro: " + r.detail);
  }
  EXPECT_EQ(floor.Count("PRODUCAO_SETOR"), postings);
  EXPECT_EQ(floor.Count("FICHA_CORTE_ATU_SETOR"), cutPostings);
}

}  // namespace
}  // namespace mts
