#include "server/ServerConfig.h"

namespace mts {

ServerConfig ReadServerConfig(const IniFile& ini) {
  ServerConfig config;
  config.protocolTerminal = ini.readString("SERVER-CONFIG", "PROTOCOLO-TERMINAL", "VT-100");
  config.keyboardType = ini.readString("SERVER-CONFIG", "TIPO-TECLADO", "16");
  config.port = ini.readInteger("SERVER-CONFIG", "PORTA-IP", 1001);
  config.statusPort = ini.readInteger("SERVER-CONFIG", "PORTA-STATUS", 0);
  config.statusAddress = ini.readString("SERVER-CONFIG", "ENDERECO-STATUS", "127.0.0.1");
  config.maxTerminals = ini.readInteger("SERVER-CONFIG", "MAXIMO-TERMINAIS", kDefaultMaxTerminals);
  if (config.maxTerminals <= 0) config.maxTerminals = kDefaultMaxTerminals;
  for (const std::string& line : ini.readSectionValues("IP_TERMINAL_LED")) {
    config.ledTerminals.push_back(ValueOfLine(line));
  }
  config.namedTerminals = ReadNamedTerminals(ini);
  config.greenLedTime = ini.readInteger("CONFIG_LED", "TEMPO_LED_VERDE", 300);
  config.redLedTime = ini.readInteger("CONFIG_LED", "TEMPO_LED_VERMELHO", 300);
  config.greenLedRepeats = ini.readInteger("CONFIG_LED", "QTDE_REPETICAO_LED_VERDE", 1);
  config.redLedRepeats = ini.readInteger("CONFIG_LED", "QTDE_REPETICAO_LED_VERMELHO", 2);
  config.database = ini.readString("BDADOS-CONFIG", "BDADOS", "ERRO");
  config.key = ini.readString("BDADOS-CONFIG", "CHAVE", "2");
  config.firebirdVersion = ini.readString("BDADOS-CONFIG", "VersaoFirebird", "2.5");
  config.lockTimeoutSeconds =
      ini.readInteger("BDADOS-CONFIG", "TEMPO-ESPERA-BLOQUEIO", kDefaultLockTimeoutSeconds);
  return config;
}

std::string ValueOfLine(const std::string& line) {
  std::size_t equals = line.find('=');
  return equals == std::string::npos ? line : line.substr(equals + 1);
}

std::string PasswordForKey(const std::string& key) {
  if (key == "1") return "tallowfen";
  if (key == "2") return "pelrot41";
  if (key == "3") return "PelRot41";
  if (key == "4") return "peLroT41";
  return key;
}

std::string LoadParamLogLine(const ServerConfig& config) {
  return "LoadParam: (ProtocoloTerminal = " + config.protocolTerminal +
         "), (TipoTeclado = " + config.keyboardType +
         "), (PortaIp = " + std::to_string(config.port) + ").";
}

}  // namespace mts
