#include "server/NamedTerminals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/ServerConfig.h"

namespace mts {
namespace {

TEST(NamedTerminals, TheSectionGivesEachAddressANameAndAPlace) {
  struct Row {
    const char* name;
    std::string ini;
    std::vector<NamedTerminal> expected;
  };
  const std::vector<Row> rows{
      {"no section", "[SERVER-CONFIG]\r\nPORTA-IP=1001\r\n", {}},
      {"name and place, in file order",
       "[TERMINAIS]\r\n192.168.0.21=Montagem 1;Linha 2\r\n192.168.0.7=Corte;Linha 1\r\n",
       {{"192.168.0.21", "Montagem 1", "Linha 2"}, {"192.168.0.7", "Corte", "Linha 1"}}},
      {"section name in any case, blanks around each part dropped",
       "[terminais]\n 10.0.0.5 =  Costura 3 ;  Galp\xE3o B \n",
       {{"10.0.0.5", "Costura 3", "Galp\xE3o B"}}},
      {"a name without a place, an address alone",
       "[TERMINAIS]\n10.0.0.5=Costura 3\n10.0.0.6=\n",
       {{"10.0.0.5", "Costura 3", ""}, {"10.0.0.6", "", ""}}},
      {"the place keeps later semicolons; quotes around the value go",
       "[TERMINAIS]\n10.0.0.5=\"Pesponto;Linha 2; fundo\"\n",
       {{"10.0.0.5", "Pesponto", "Linha 2; fundo"}}},
      {"an address named twice keeps its first line; comments are skipped",
       "[TERMINAIS]\n; 10.0.0.4=comentado\n10.0.0.5=A;1\n10.0.0.5=B;2\n",
       {{"10.0.0.5", "A", "1"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ReadServerConfig(IniFile::fromText(row.ini)).namedTerminals, row.expected);
  }
}

}  // namespace
}  // namespace mts
