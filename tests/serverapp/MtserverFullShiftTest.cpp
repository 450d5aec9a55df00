// A whole shift end to end, cards posted of every kind: the real mtserver,
// headless, on a fresh demo factory, with terminals played by mtterm. It
// needs the production module's validation and recording.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DemoServerTest.h"

namespace mts {
namespace {

using testing_support::DemoServerTest;
using testing_support::DialectName;
using testing_support::kDialects;
using testing_support::ScreenBlocks;

class MtserverFullShift : public DemoServerTest {};

INSTANTIATE_TEST_SUITE_P(Dialects, MtserverFullShift, testing::ValuesIn(kDialects), DialectName);

// Row 3 and the LEDs of each block mtterm printed.
std::vector<std::string> Results(const std::string& output) {
  std::vector<std::string> results;
  for (const auto& block : ScreenBlocks(output)) {
    if (block.size() < 5) continue;
    results.push_back(block[3] + " " + block[4]);
  }
  return results;
}

TEST_P(MtserverFullShift, TwoOperatorsPostCardsOfEveryKind) {
  // Assembly: a card refused before its operations, its detail, a whole card,
  // then both operation cards typed on the keypad; the last one posts the card.
  const std::string assembly = Terminal(
      "127.0.0.1",
      "1004{enter}{wait-for:FICHA:}{send:00010100040000}{enter}{wait-for:NAO ATUALIZADA}{show}"
      ",{wait-for:A FICHA.}{show}{send:00010100010000}{enter}{wait-for:FICHA ATUALIZADA}{show}"
      ".1.00000000071{enter}{wait-for:OP.SETOR}{show}{send:.1.00000000072}{enter}"
      "{wait-for:FICHA ATUALIZADA}{show}{esc}{wait-for:CRACHA:}");
  EXPECT_EQ(Results(assembly), (std::vector<std::string>{
                                   "|FICHA NAO ATUALIZADA| LED red=on green=off",
                                   "|TUALIZAR A FICHA.   | LED red=on green=off",
                                   "|FICHA ATUALIZADA    | LED red=off green=on",
                                   "|FICHA OP.SETOR ATUAL| LED red=off green=on",
                                   "|FICHA ATUALIZADA    | LED red=off green=on",
                                   "|                    | LED red=off green=off",
                               }))
      << assembly;
  EXPECT_EQ(ScreenBlocks(assembly)[1][0], "|FICHA OPERACAO SETOR|") << assembly;

  // Stitching and shipping on a terminal without LEDs.
  const std::string other = Terminal(
      "127.0.0.2",
      "1002{enter}{wait-for:FICHA:}{send:00010100020001}{enter}{wait-for:SUBFICHA ATUALIZADA}"
      "{show}{send:100000203}{enter}{wait-for:ID SUBFICHA}{show}{send:280000000053}{enter}"
      "{wait-for:FICHA CORTE}{show}{esc}1006{enter}{wait-for:FICHA:}{send:1000030100}{enter}"
      "{wait-for:TALAO}");
  EXPECT_EQ(Results(other), (std::vector<std::string>{
                                "|SUBFICHA ATUALIZADA | LED red=off green=off",
                                "|ID SUBFICHA ATUALIZA| LED red=off green=off",
                                "|FICHA CORTE ATUALIZA| LED red=off green=off",
                                "|TALAO ATUALIZADO    | LED red=off green=off",
                            }))
      << other;

  EXPECT_EQ(server_.terminate(), 0) << server_.errors();
  const std::string output = server_.output();
  for (const char* line : {
           "Terminal 0 - Ficha OP00000000071 atualizada.\n",
           "Terminal 0 - Ficha OP00000000072 atualizada.\n",
           "Terminal 1 - Funcionario: 1006 FRANCISCA DAS CHAGAS\n",
           "Terminal 1 - Ficha 1000030100 atualizada.\n",
       }) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
  const std::string log = server_.log();
  for (const char* line : {" : Indice Terminal: 0 Msg: FICHA OP.SETOR ATUALIZADA\n",
                           " : Indice Terminal: 0 Msg: ID SUBFICHA ATUALIZADA\n",
                           " : Indice Terminal: 0 Msg: FICHA CORTE ATUALIZADA\n",
                           " : Indice Terminal: 0 Msg: TALAO ATUALIZADO\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  }

  EXPECT_EQ(Count("PRODUCAO_SETOR", "PROG_PS = '000101' and FICHA_PS = '0001' and SETOR_PS = '30'"),
            1);
  EXPECT_EQ(Count("PRODUCAO_SETOR", "PROG_PS = '000101' and FICHA_PS = '0004' and SETOR_PS = '30'"),
            1);
  EXPECT_EQ(Count("PRODUCAO_SETOR_OPERACAO", "PROG_SO = '000101' and FICHA_SO = '0004'"), 2);
  EXPECT_EQ(Count("PRODUCAO_SETOR",
                  "PROG_PS = '000101' and FICHA_PS = '0002' and SUBFICHA_PS = '0001' and "
                  "SETOR_PS = '21'"),
            1);
  EXPECT_EQ(Count("PRODUCAO_SETOR", "ID_SUBPROD_PS = 203"), 1);
  EXPECT_EQ(Count("FICHA_CORTE_ATU_SETOR", "ID_FICHA_CORTE_FS = 53 and SETOR_FS = '21'"), 1);
  EXPECT_EQ(Count("PRODUCAO_SETOR", "CODCXCOLET_PS = 301 and SETOR_PS = '50'"), 1);
}

}  // namespace
}  // namespace mts
