// The badge and card flow on the demo factory with the real production module:
// look-ups and refusals that identification decides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DemoShopFloor.h"

namespace mts {
namespace {

using Lines = std::vector<std::string>;

TEST(CardSubmissionDb, BadgesOfActiveEmployeesLogInOthersAreRefused) {
  test::DemoShopFloor floor;
  ASSERT_TRUE(floor.startupErrors.empty()) << floor.startupErrors.front();
  auto led = floor.Connect("127.0.0.1");
  auto plain = floor.Connect("127.0.0.2");

  floor.Type(led, "1006\r");    // a name longer than 20 characters
  floor.Type(plain, "1007\r");  // inactive
  floor.Type(plain, "1");       // the next key starts a new badge
  floor.Type(plain, "23456789012\r");

  const TRegConnection& first = floor.Terminal("127.0.0.1");
  EXPECT_EQ(first.State, TerminalState::WaitingCard);
  EXPECT_EQ(first.EmployeeName, "FRANCISCA DAS CHAGAS");
  EXPECT_EQ(first.EmployeeSector, "50");
  // Blinked, then the name and the card prompt.
  const std::string cardPrompt =
      "\x1B[H\x1B[J\x1B[01;01HFRANCISCA DAS CHAGAS\x1B[02;01HFICHA:\x1B[02;07H";
  ASSERT_GE(led->sent().size(), cardPrompt.size());
  EXPECT_EQ(led->sent().substr(led->sent().size() - cardPrompt.size()), cardPrompt);
  EXPECT_NE(led->sent().find("\x1B[lgl\x1B[01;01H\x1B[lgb\x1B[01;01H"), std::string::npos);

  const TRegConnection& second = floor.Terminal("127.0.0.2");
  EXPECT_EQ(second.State, TerminalState::WaitingBadge);
  EXPECT_EQ(second.Input, "123456789012");
  // Column 12 + 8 = 20 wraps to the next row's first column in VT-100.
  EXPECT_EQ(plain->writes.back(), "\x1B[02;01H");
  EXPECT_EQ(plain->sent().find("\x1B[l"), std::string::npos);  // no LEDs there

  EXPECT_EQ(floor.received, (Lines{"Terminal 0 - 49",
                                   "Terminal 0 - 48",
                                   "Terminal 0 - 48",
                                   "Terminal 0 - 54",
                                   "Terminal 0 - 13",
                                   "Entrada: 1006",
                                   "Terminal 0 - Funcionario: 1006 FRANCISCA DAS CHAGAS",
                                   "Terminal 1 - 49",
                                   "Terminal 1 - 48",
                                   "Terminal 1 - 48",
                                   "Terminal 1 - 55",
                                   "Terminal 1 - 13",
                                   "Entrada: 1007",
                                   "Terminal 1 - Funcionario 1007 nao localizado.",
                                   "Terminal 1 - 49",
                                   "Terminal 1 - 50",
                                   "Terminal 1 - 51",
                                   "Terminal 1 - 52",
                                   "Terminal 1 - 53",
                                   "Terminal 1 - 54",
                                   "Terminal 1 - 55",
                                   "Terminal 1 - 56",
                                   "Terminal 1 - 57",
                                   "Terminal 1 - 48",
                                   "Terminal 1 - 49",
                                   "Terminal 1 - 50",
                                   "Terminal 1 - 13",
                                   "Entrada: 123456789012",
                                   "Terminal 1 - Funcionario 123456789012 nao localizado."}));
  EXPECT_EQ(floor.log, (Lines{"Indice Terminal: 1 Msg: FUNC. NAO LOCALIZADO",
                              "Indice Terminal: 1 Msg: FUNC. NAO LOCALIZADO"}));
}

struct Refusal {
  const char* badge;
  const char* typed;
  std::string rewritten;
  std::string detail;  // as the "," key shows it
  std::string cursor;  // after the typed code, on the wire
};

// Codes identification refuses, of each kind; nothing is written for them.
TEST(CardSubmissionDb, CardsRefusedByIdentificationShowTheirDetailOnComma) {
  const std::vector<Refusal> refusals{
      {"1001", "280000000099", "280000000099", "FICHA 280000000099 NAO ENCONTRADA.", "\x1B[02;19H"},
      {"1001", "280000000052", "280000000052", "FICHA CANCELADA EM 04/03/2025 10:15:00.",
       "\x1B[02;19H"},
      {"1005", "280000000051", "280000000051", "COD. CX COLET. \"800000000\" NAO LOCALIZADO.",
       "\x1B[02;19H"},
      {"1006", "1000030400", "1000030400", "COD. CX COLET. \"304\" NAO LOCALIZADO.", "\x1B[02;17H"},
      // 14 typed characters put the cursor past column 20: the next row.
      {"1004", ".1.00000000079", "OP00000000079", "", "\x1B[03;01H"},
  };
  test::DemoShopFloor floor;
  auto terminal = floor.Connect("127.0.0.1");
  const int postings = floor.Count("PRODUCAO_SETOR");
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.typed);
    floor.Type(terminal, "\x1B" + std::string(r.badge) + "\r" + r.typed + "\r");
    const TRegConnection& record = floor.Terminal("127.0.0.1");
    ASSERT_EQ(record.ShownResult, "FICHA NAO ATUALIZADA");
    EXPECT_EQ(record.Input, r.typed);
    const std::string line = floor.received.back();
    EXPECT_EQ(line.substr(0, line.find(" Erro: ")),
              "Terminal 0 - Ficha " + r.rewritten + " nao atualizada.");
    EXPECT_EQ(terminal->writes.back(), r.cursor);

    terminal->writes.clear();
    floor.Type(terminal, ",");
    if (!r.detail.empty()) {
      EXPECT_EQ(terminal->sent(), "\x1B[H\x1B[J\x1B[01;01H" + r.detail);
    }
  }
  EXPECT_EQ(floor.Count("PRODUCAO_SETOR"), postings);
  EXPECT_EQ(floor.Count("FICHA_CORTE_ATU_SETOR", "ID_FICHA_CORTE_FS = 51"), 0);
}

}  // namespace
}  // namespace mts
