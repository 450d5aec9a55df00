// Shop-floor dialogues end to end: the real mtserver, headless, on a fresh demo
// factory, with terminals played by mtterm's scripted mode, in both dialects.
#include <gtest/gtest.h>

#include <QProcess>
#include <string>

#include "DemoServerTest.h"

namespace mts {
namespace {

using testing_support::DemoServerTest;
using testing_support::DialectName;
using testing_support::kDialects;
using testing_support::ScreenBlocks;

class MtserverShift : public DemoServerTest {};

INSTANTIATE_TEST_SUITE_P(Dialects, MtserverShift, testing::ValuesIn(kDialects), DialectName);

TEST_P(MtserverShift, RefusalDetailCancelAndASecondOperator) {
  // Each result is awaited on the screen: a busy machine may answer slower
  // than mtterm's quiet interval.
  const std::string first =
      Terminal("127.0.0.1",
               "1006{enter}{wait-for:FICHA:}{send:1000030400}{enter}{wait-for:NAO ATUALIZADA}"
               "{show},{wait-for:LOCALIZADO.}{show}{esc}{wait-for:CRACHA:}");
  EXPECT_EQ(first,
            "|FRANCISCA DAS CHAGAS|\n"
            "|FICHA:1000030400    |\n"
            "|                    |\n"
            "|FICHA NAO ATUALIZADA|\n"
            "LED red=on green=off\n"
            "CURSOR row=1 col=16\n"
            "\n"
            "|COD. CX COLET. \"304\"|\n"
            "| NAO LOCALIZADO.    |\n"
            "|                    |\n"
            "|                    |\n"
            "LED red=on green=off\n"
            "CURSOR row=1 col=16\n"
            "\n"
            "|CRACHA:             |\n"
            "|                    |\n"
            "|                    |\n"
            "|                    |\n"
            "LED red=off green=off\n"
            "CURSOR row=0 col=7\n");

  const std::string second =
      Terminal("127.0.0.2",
               "9999{enter}{wait-for:FUNC. NAO}{show}1002{enter}{wait-for:FICHA:}"
               "{send:280000000099}{enter}{wait-for:NAO ATUALIZADA}");
  EXPECT_EQ(second,
            "|CRACHA:9999         |\n"
            "|                    |\n"
            "|                    |\n"
            "|FUNC. NAO LOCALIZADO|\n"
            "LED red=off green=off\n"
            "CURSOR row=0 col=12\n"
            "\n"
            "|MARIA APARECIDA SOUZ|\n"
            "|FICHA:280000000099  |\n"
            "|                    |\n"
            "|FICHA NAO ATUALIZADA|\n"
            "LED red=off green=off\n"
            "CURSOR row=1 col=18\n");

  EXPECT_EQ(server_.terminate(), 0) << server_.errors();
  const std::string output = server_.output();
  for (const char* line :
       {"Terminais Conectados: 0 - 127.0.0.1\n", "Entrada: 1006\n",
        "Terminal 0 - Funcionario: 1006 FRANCISCA DAS CHAGAS\n",
        "Terminal 0 - Ficha 1000030400 nao atualizada. Erro: C\xC3\xB3"
        "d. Cx Colet. \"304\" "
        "n\xC3\xA3o localizado.\n",
        "Terminal 0 - 44\n", "Terminal 0 - 27\n", "Terminais Conectados: 1 - 127.0.0.2\n",
        "Terminal 1 - Funcionario 9999 nao localizado.\n",
        "Terminal 1 - Funcionario: 1002 MARIA APARECIDA SOUZ\n",
        "Terminal 1 - Ficha 280000000099 nao atualizada. Erro: Ficha 280000000099 "
        "n\xC3\xA3o encontrada.\n"}) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
  // The result texts, and nothing else of the dialogue, reach the log file.
  // Each terminal was the only one connected: socket index 0.
  std::string results;
  const std::string log = server_.log();
  for (std::size_t at = log.find(" : Indice Terminal: "); at != std::string::npos;
       at = log.find(" : Indice Terminal: ", at + 1)) {
    results += log.substr(at + 3, log.find('\n', at) - at - 2);
  }
  EXPECT_EQ(results,
            "Indice Terminal: 0 Msg: FICHA NAO ATUALIZADA\n"
            "Indice Terminal: 0 Msg: FUNC. NAO LOCALIZADO\n"
            "Indice Terminal: 0 Msg: FICHA NAO ATUALIZADA\n");
  // Nothing of the detail goes to the log file.
  EXPECT_EQ(log.find("Colet"), std::string::npos);
  EXPECT_EQ(Count("PRODUCAO_SETOR", "CODCXCOLET_PS = 304"), 0);
}

// The bytes of a text as mtterm's {hex:...} writes them: one write.
std::string OneWrite(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string script = "{hex:";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    script += {kDigits[byte >> 4], kDigits[byte & 0xF], ' '};
  }
  return script + "}";
}

// A reader set to end each code with Enter sends code and CR in one packet;
// and the network may join a whole dialogue into one read.
TEST_P(MtserverShift, CodesThatArriveWithTheirEnterArePosted) {
  const std::string scanned = Terminal(
      "127.0.0.1", "{scan:1004}{wait-for:FICHA:}{scan:00010100010000}{wait-for:ATUALIZADA}");
  const auto screen = ScreenBlocks(scanned).back();
  ASSERT_EQ(screen.size(), 6u) << scanned;
  EXPECT_EQ(screen[1], "|FICHA:              |");
  EXPECT_EQ(screen[3], "|FICHA ATUALIZADA    |");
  EXPECT_EQ(screen[4], "LED red=off green=on");

  const std::string joined =
      Terminal("127.0.0.2", OneWrite("1002\r00010100020001\r") + "{wait-for:ATUALIZADA}");
  EXPECT_EQ(ScreenBlocks(joined).back()[3], "|SUBFICHA ATUALIZADA |") << joined;

  EXPECT_EQ(server_.terminate(), 0) << server_.errors();
  EXPECT_EQ(Count("PRODUCAO_SETOR", "PROG_PS = '000101' and FICHA_PS = '0001' and SETOR_PS = '30'"),
            1);
  EXPECT_EQ(Count("PRODUCAO_SETOR",
                  "PROG_PS = '000101' and FICHA_PS = '0002' and SUBFICHA_PS = '0001' and "
                  "SETOR_PS = '21'"),
            1);
}

}  // namespace
}  // namespace mts
