// What the server says about each settings file it cannot use as written: the
// lines mtserver --check-config prints and start-up writes as warnings.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "server/ServerConfig.h"

namespace mts {
namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

using Lines = std::vector<std::string>;

// Enough for a server to start with: every case adds its own fault to it.
const std::string kGood =
    "[SERVER-CONFIG]\nPROTOCOLO-TERMINAL=VT-100\nTIPO-TECLADO=16\nPORTA-IP=1001\n"
    "[BDADOS-CONFIG]\nBDADOS=db:/dados/fabrica.fdb\n";

struct CheckCase {
  const char* name;
  // The file's text; none: there is no file; kFolder: a folder in its place.
  std::optional<std::string> ini;
  // Every problem, in order, with F standing for the file's path.
  Lines expected;
  bool error = false;  // a server without window refuses to start
};

const std::string kFolder = "<folder>";

void PrintTo(const CheckCase& c, std::ostream* out) {
  *out << c.name;
}

class SettingsCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(SettingsCheck, NamesEveryProblemWithWhatIsUsedInstead) {
  const CheckCase& c = GetParam();
  TempFolder folder;
  const std::filesystem::path file = folder / "mtserver.ini";
  if (c.ini == kFolder) {
    std::filesystem::create_directory(file);
  } else if (c.ini) {
    WriteFile(file, *c.ini);
  }

  const ServerConfigReading reading = ReadServerConfigFile(file);
  Lines lines;
  for (const ConfigProblem& problem : reading.problems) {
    std::string line = DescribeConfigProblem(file, problem);
    const std::string path = file.string();
    for (std::size_t at; (at = line.find(path)) != std::string::npos;)
      line.replace(at, path.size(), "F");
    lines.push_back(line);
  }
  EXPECT_EQ(lines, c.expected);
  EXPECT_EQ(HasConfigError(reading.problems), c.error);
}

const char* const kDefaults =
    "every setting takes its default and no database is configured (without a window the "
    "server does not start)";

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsCheck,
    testing::Values(
        CheckCase{"good_file", kGood, {}},
        CheckCase{
            "missing_file",
            std::nullopt,
            {std::string("error: F: cannot be read: No such file or directory; ") + kDefaults},
            true},
        CheckCase{"unreadable_file",
                  kFolder,
                  {std::string("error: F: cannot be read: Is a directory; ") + kDefaults},
                  true},
        CheckCase{"numbers_that_are_not_numbers",
                  "[SERVER-CONFIG]\nMAXIMO-TERMINAIS=0\n[BDADOS-CONFIG]\nBDADOS=x.fdb\n"
                  "TEMPO-ESPERA-BLOQUEIO=dez\n[CONFIG_LED]\nTEMPO_LED_VERDE=3OO\n"
                  "QTDE_REPETICAO_LED_VERMELHO=\n",
                  {"warning: F [SERVER-CONFIG] MAXIMO-TERMINAIS=\"0\": 0 or less; 256 is used",
                   "warning: F [CONFIG_LED] TEMPO_LED_VERDE=\"3OO\": not a whole number; "
                   "300 is used",
                   "warning: F [CONFIG_LED] QTDE_REPETICAO_LED_VERMELHO=\"\": not a whole "
                   "number; 2 is used",
                   "warning: F [BDADOS-CONFIG] TEMPO-ESPERA-BLOQUEIO=\"dez\": not a whole "
                   "number; 10 is used"}},
        CheckCase{"terminal_port_not_a_number",
                  "[SERVER-CONFIG]\nPORTA-IP=abc\n[BDADOS-CONFIG]\nBDADOS=x.fdb\n",
                  {"error: F [SERVER-CONFIG] PORTA-IP=\"abc\": not a whole number; 1001 is "
                   "used (without a window the server does not start)"},
                  true},
        CheckCase{"terminal_port_out_of_range",
                  "[SERVER-CONFIG]\nPORTA-IP=70000\n[BDADOS-CONFIG]\nBDADOS=x.fdb\n",
                  {"error: F [SERVER-CONFIG] PORTA-IP=\"70000\": not a port (1 to 65535); "
                   "nothing listens for terminals (without a window the server does not "
                   "start)"},
                  true},
        CheckCase{"status_settings",
                  "[SERVER-CONFIG]\nPORTA-STATUS=80a\nENDERECO-STATUS=localhost\n"
                  "[BDADOS-CONFIG]\nBDADOS=x.fdb\n",
                  {"warning: F [SERVER-CONFIG] PORTA-STATUS=\"80a\": not a whole number; 0 is "
                   "used (the status page is off)",
                   "warning: F [SERVER-CONFIG] ENDERECO-STATUS=\"localhost\": not an IP address "
                   "(a name is not looked up)"}},
        CheckCase{"unknown_protocol_and_keyboard",
                  "[SERVER-CONFIG]\nPROTOCOLO-TERMINAL=stx-etx\nTIPO-TECLADO=40\n"
                  "[BDADOS-CONFIG]\nBDADOS=x.fdb\n",
                  {"warning: F [SERVER-CONFIG] PROTOCOLO-TERMINAL=\"stx-etx\": neither VT-100 "
                   "nor STX-ETX (letter case counts); VT-100 is used (the terminals are "
                   "spoken to in VT-100)",
                   "warning: F [SERVER-CONFIG] TIPO-TECLADO=\"40\": neither 16 nor 44 (letter "
                   "case counts); 16 is used (texts are cut at 20 characters)"}},
        CheckCase{"misspelt_section",
                  "[SERVER_CONFIG]\nPORTA-IP=2001\n[BDADOS-CONFIG]\nBDADOS=x.fdb\n",
                  {"warning: F [SERVER_CONFIG]: unknown section; ignored with all its keys; "
                   "did you mean [SERVER-CONFIG]?"}},
        CheckCase{"unknown_and_misplaced_keys",
                  kGood + "PORTA_IP=1\nPORTA-STATUS=8080\nCOR=azul\n",
                  {"warning: F [BDADOS-CONFIG] PORTA_IP: unknown key; ignored; PORTA-IP "
                   "belongs in [SERVER-CONFIG]",
                   "warning: F [BDADOS-CONFIG] PORTA-STATUS: unknown key; ignored; "
                   "PORTA-STATUS belongs in [SERVER-CONFIG]",
                   "warning: F [BDADOS-CONFIG] COR: unknown key; ignored"}},
        CheckCase{"lines_that_give_no_value",
                  "BDADOS=early.fdb\n" + kGood + "PORTA-IP 1002\nBDADOS=other.fdb\n",
                  {"warning: F line 1 BDADOS: line before any [section]; ignored",
                   "warning: F line 8 [BDADOS-CONFIG] \"PORTA-IP 1002\": not a KEY=value "
                   "line; ignored",
                   "warning: F line 9 [BDADOS-CONFIG] BDADOS: key repeated in its section; "
                   "ignored, its first line counts"}},
        CheckCase{"no_database",
                  "[SERVER-CONFIG]\nPORTA-IP=1001\n",
                  {"error: F [BDADOS-CONFIG] BDADOS: missing; no database is configured: "
                   "nothing listens for terminals (without a window the server does not "
                   "start)"},
                  true},
        CheckCase{"led_terminal_that_is_no_address_and_a_repeated_section",
                  kGood + "[IP_TERMINAL_LED]\n1=10.0.0.5\n2=10.0.0.300\n[SERVER-CONFIG]\n"
                          "MAXIMO-TERMINAIS=0\n",
                  {"warning: F [IP_TERMINAL_LED] 2=\"10.0.0.300\": not an IP address; no "
                   "terminal matches it",
                   "warning: F line 10 [SERVER-CONFIG] \"[SERVER-CONFIG]\": section repeated; "
                   "ignored with all its lines, its first appearance counts"}},
        CheckCase{"empty_database_user",
                  kGood + "USUARIO=\n",
                  {"warning: F [BDADOS-CONFIG] USUARIO=\"\": empty; SYSDBA is used"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsCheck, KnownValuesInAnyLetterCaseOfKeysAndEveryKeyIsNoProblem) {
  std::vector<ConfigProblem> problems;
  ReadServerConfig(IniFile::fromText("[server-config]\nprotocolo-terminal=STX-ETX\n"
                                     "Tipo-Teclado=44\nPORTA-IP=$3E9\nPORTA-STATUS=0\n"
                                     "ENDERECO-STATUS=::1\nMAXIMO-TERMINAIS=10\n"
                                     "[IP_TERMINAL_LED]\nqualquer=10.0.0.5\n"
                                     "[CONFIG_LED]\nTEMPO_LED_VERDE=-5\n"
                                     "TEMPO_LED_VERMELHO=0x10\nQTDE_REPETICAO_LED_VERDE=1\n"
                                     "QTDE_REPETICAO_LED_VERMELHO=2\n"
                                     "[BDADOS-CONFIG]\nBDADOS=x.fdb\nCHAVE=s3nh@\n"
                                     "USUARIO=PRODUCAO\nVersaoFirebird=2.5\n"
                                     "TEMPO-ESPERA-BLOQUEIO=0\n"),
                   &problems);
  Lines lines;
  for (const ConfigProblem& problem : problems)
    lines.push_back(DescribeConfigProblem("F", problem));
  EXPECT_EQ(lines, Lines{});
}

}  // namespace
}  // namespace mts
