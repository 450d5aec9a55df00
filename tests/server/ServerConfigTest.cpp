#include "server/ServerConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mts {
namespace {

// What the server makes of one INI file; every field starts at the value an
// empty file gives.
struct Expected {
  std::string protocolTerminal = "VT-100";
  bool stxEtx = false;
  std::string keyboardType = "16";
  bool wide = false;
  int port = 1001;
  std::vector<std::string> leds;
  int greenTime = 300, redTime = 300, greenRepeats = 1, redRepeats = 2;
  std::string database = "ERRO";
  bool configured = false;
  std::string password = "pelrot41";
  std::string user = "SYSDBA";
  std::string firebirdVersion = "2.5";
  int statusPort = 0;
  std::string statusAddress = "127.0.0.1";
  int lockTimeout = 10;
  int maxTerminals = 256;
};

struct ConfigCase {
  const char* name;
  std::string ini;
  Expected expected;
};

void PrintTo(const ConfigCase& c, std::ostream* out) {
  *out << c.name;
}

Expected With(void (*change)(Expected&)) {
  Expected e;
  change(e);
  return e;
}

class LoadParamSettings : public testing::TestWithParam<ConfigCase> {};

TEST_P(LoadParamSettings, ReadsEveryKeyWithItsRule) {
  const ConfigCase& c = GetParam();
  const ServerConfig config = ReadServerConfig(IniFile::fromText(c.ini));
  const Expected& e = c.expected;
  EXPECT_EQ(config.protocolTerminal, e.protocolTerminal);
  EXPECT_EQ(config.protocolStxEtx(), e.stxEtx);
  EXPECT_EQ(config.keyboardType, e.keyboardType);
  EXPECT_EQ(config.wideKeyboard(), e.wide);
  EXPECT_EQ(config.port, e.port);
  EXPECT_EQ(config.ledTerminals, e.leds);
  EXPECT_EQ(config.greenLedTime, e.greenTime);
  EXPECT_EQ(config.redLedTime, e.redTime);
  EXPECT_EQ(config.greenLedRepeats, e.greenRepeats);
  EXPECT_EQ(config.redLedRepeats, e.redRepeats);
  EXPECT_EQ(config.database, e.database);
  EXPECT_EQ(config.databaseConfigured(), e.configured);
  EXPECT_EQ(PasswordForKey(config.key), e.password);
  EXPECT_EQ(config.user, e.user);
  EXPECT_EQ(config.firebirdVersion, e.firebirdVersion);
  EXPECT_EQ(config.statusPort, e.statusPort);
  EXPECT_EQ(config.statusEnabled(), e.statusPort != 0);
  EXPECT_EQ(config.statusAddress, e.statusAddress);
  EXPECT_EQ(config.lockTimeoutSeconds, e.lockTimeout);
  EXPECT_EQ(config.maxTerminals, e.maxTerminals);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadParamSettings,
    testing::Values(
        ConfigCase{"no_file_means_no_database", "", {}},
        ConfigCase{"database_set_to_ERRO_is_not_configured", "[BDADOS-CONFIG]\nBDADOS=ERRO\n", {}},
        ConfigCase{"full_file",
                   "[SERVER-CONFIG]\r\nPROTOCOLO-TERMINAL=STX-ETX\r\nTIPO-TECLADO=44\r\n"
                   "PORTA-IP=2001\r\n[IP_TERMINAL_LED]\r\n1=10.0.0.5\r\n2=10.0.0.6\r\n"
                   "[CONFIG_LED]\r\nTEMPO_LED_VERDE=100\r\nTEMPO_LED_VERMELHO=200\r\n"
                   "QTDE_REPETICAO_LED_VERDE=3\r\nQTDE_REPETICAO_LED_VERMELHO=4\r\n"
                   "[BDADOS-CONFIG]\r\nBDADOS=srv/3050:C:\\db\\F.FDB\r\nCHAVE=1\r\n"
                   "VersaoFirebird=3\r\n",
                   With([](Expected& e) {
                     e.protocolTerminal = "STX-ETX";
                     e.stxEtx = true;
                     e.keyboardType = "44";
                     e.wide = true;
                     e.port = 2001;
                     e.leds = {"10.0.0.5", "10.0.0.6"};
                     e.greenTime = 100, e.redTime = 200, e.greenRepeats = 3, e.redRepeats = 4;
                     e.database = "srv/3050:C:\\db\\F.FDB";
                     e.configured = true;
                     e.password = "tallowfen";
                     e.firebirdVersion = "3";
                   })},
        ConfigCase{"lower_case_stx_etx_is_vt100_shown_as_read",
                   "[SERVER-CONFIG]\nPROTOCOLO-TERMINAL=stx-etx\n",
                   With([](Expected& e) { e.protocolTerminal = "stx-etx"; })},
        ConfigCase{"keyboard_other_than_44", "[SERVER-CONFIG]\nTIPO-TECLADO=044\n",
                   With([](Expected& e) { e.keyboardType = "044"; })},
        ConfigCase{"blanks_around_values_are_not_part_of_them",
                   "[server-config]\n protocolo-terminal =  STX-ETX \ntipo-teclado= 44\n",
                   With([](Expected& e) {
                     e.protocolTerminal = "STX-ETX";
                     e.stxEtx = true;
                     e.keyboardType = "44";
                     e.wide = true;
                   })},
        ConfigCase{"port_not_a_number", "[SERVER-CONFIG]\nPORTA-IP=porta\n", {}},
        ConfigCase{"port_with_trailing_text", "[SERVER-CONFIG]\nPORTA-IP=1002x\n", {}},
        ConfigCase{"led_numbers_not_numbers",
                   "[CONFIG_LED]\nTEMPO_LED_VERDE=\nQTDE_REPETICAO_LED_VERMELHO=x\n",
                   {}},
        ConfigCase{"led_values_keep_their_own_equals", "[IP_TERMINAL_LED]\n1=127.0.0.1\nA = x=y\n",
                   With([](Expected& e) {
                     e.leds = {"127.0.0.1", "x=y"};
                   })},
        ConfigCase{"chave_2", "[BDADOS-CONFIG]\nCHAVE=2\n", {}},
        ConfigCase{"chave_3", "[BDADOS-CONFIG]\nCHAVE=3\n",
                   With([](Expected& e) { e.password = "PelRot41"; })},
        ConfigCase{"chave_4", "[BDADOS-CONFIG]\nCHAVE=4\n",
                   With([](Expected& e) { e.password = "peLroT41"; })},
        ConfigCase{"chave_other_text_is_the_password", "[BDADOS-CONFIG]\nCHAVE=s3nh@\n",
                   With([](Expected& e) { e.password = "s3nh@"; })},
        ConfigCase{"chave_compared_exactly", "[BDADOS-CONFIG]\nCHAVE=01\n",
                   With([](Expected& e) { e.password = "01"; })},
        ConfigCase{"database_user", "[BDADOS-CONFIG]\nusuario=PRODUCAO\n",
                   With([](Expected& e) { e.user = "PRODUCAO"; })},
        ConfigCase{"empty_database_user_is_sysdba", "[BDADOS-CONFIG]\nUSUARIO=\n", {}},
        ConfigCase{"firebird_version_as_written", "[BDADOS-CONFIG]\nVersaoFirebird=3.0\n",
                   With([](Expected& e) { e.firebirdVersion = "3.0"; })},
        ConfigCase{"status_listener_port_and_address",
                   "[SERVER-CONFIG]\nPORTA-STATUS=8080\nENDERECO-STATUS=0.0.0.0\n",
                   With([](Expected& e) {
                     e.statusPort = 8080;
                     e.statusAddress = "0.0.0.0";
                   })},
        ConfigCase{
            "status_port_not_a_number_leaves_it_off", "[SERVER-CONFIG]\nPORTA-STATUS=http\n", {}},
        ConfigCase{"firebird_version_key_in_other_case", "[BDADOS-CONFIG]\nversaofirebird=3\n",
                   With([](Expected& e) { e.firebirdVersion = "3"; })},
        ConfigCase{"lock_timeout_in_seconds", "[BDADOS-CONFIG]\nTEMPO-ESPERA-BLOQUEIO=3\n",
                   With([](Expected& e) { e.lockTimeout = 3; })},
        ConfigCase{"lock_timeout_zero_waits_for_ever", "[BDADOS-CONFIG]\nTEMPO-ESPERA-BLOQUEIO=0\n",
                   With([](Expected& e) { e.lockTimeout = 0; })},
        ConfigCase{"lock_timeout_not_a_number_keeps_the_default",
                   "[BDADOS-CONFIG]\nTEMPO-ESPERA-BLOQUEIO=dez\n",
                   {}},
        ConfigCase{"terminal_limit", "[SERVER-CONFIG]\nMAXIMO-TERMINAIS=1200\n",
                   With([](Expected& e) { e.maxTerminals = 1200; })},
        ConfigCase{"terminal_limit_zero_or_text_keeps_the_default",
                   "[SERVER-CONFIG]\nMAXIMO-TERMINAIS=0\n",
                   {}},
        ConfigCase{"terminal_limit_not_a_number_keeps_the_default",
                   "[SERVER-CONFIG]\nMAXIMO-TERMINAIS=muitos\n",
                   {}}),
    [](const auto& info) { return std::string(info.param.name); });

// An unknown protocol or keyboard is shown as what the server falls back to,
// never as a protocol it does not speak.
TEST(LoadParamLogLine, ShowsTheProtocolAndKeyboardInUse) {
  ServerConfig config;
  config.protocolTerminal = "stx-etx";
  config.keyboardType = "44";
  config.port = 1001;
  EXPECT_EQ(LoadParamLogLine(config),
            "LoadParam: (ProtocoloTerminal = VT-100), (TipoTeclado = 44), (PortaIp = 1001).");
  config.protocolTerminal = "STX-ETX";
  config.keyboardType = "20";
  EXPECT_EQ(LoadParamLogLine(config),
            "LoadParam: (ProtocoloTerminal = STX-ETX), (TipoTeclado = 16), (PortaIp = 1001).");
}

TEST(ValueOfLine, CutsAtTheFirstEquals) {
  EXPECT_EQ(ValueOfLine("1=127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(ValueOfLine("1=a=b"), "a=b");
  EXPECT_EQ(ValueOfLine("1="), "");
  EXPECT_EQ(ValueOfLine("no equals"), "no equals");
}

}  // namespace
}  // namespace mts
