#include "server/ServerConfig.h"

#include <arpa/inet.h>

#include "server/ConfigReader.h"

namespace mts {
namespace {

constexpr ConfigProblem::Severity kWarning = ConfigProblem::Severity::Warning;
constexpr ConfigProblem::Severity kError = ConfigProblem::Severity::Error;

bool IsPort(int number) {
  return number >= 1 && number <= 65535;
}

bool IsIpAddress(const std::string& text) {
  unsigned char address[16];
  return inet_pton(AF_INET, text.c_str(), address) == 1 ||
         inet_pton(AF_INET6, text.c_str(), address) == 1;
}

ConfigProblem ValueProblem(ConfigProblem::Severity severity, std::string_view section,
                           std::string_view key, std::string value, std::string problem,
                           std::string used) {
  return {severity, std::string(section), std::string(key),   0,
          true,     std::move(value),     std::move(problem), std::move(used)};
}

// A text key whose value must be one of two; anything else means the first.
void CheckChoice(ConfigReader& reader, std::string_view key, const std::string& value,
                 std::string_view meant, std::string_view other, std::string_view meaning) {
  if (value == meant || value == other) return;
  reader.note(ValueProblem(
      kWarning, "SERVER-CONFIG", key, value,
      "neither " + std::string(meant) + " nor " + std::string(other) + " (letter case counts)",
      std::string(meant) + " is used (" + std::string(meaning) + ")"));
}

void ReadTerminalPort(ConfigReader& reader, ServerConfig& config) {
  const std::string written = reader.text("SERVER-CONFIG", "PORTA-IP", "1001");
  if (!reader.has("SERVER-CONFIG", "PORTA-IP")) return;
  const auto number = parseIniInteger(written);
  if (number && IsPort(*number)) {
    config.port = *number;
    return;
  }
  if (number) config.port = *number;
  reader.note(ValueProblem(
      kError, "SERVER-CONFIG", "PORTA-IP", written,
      number ? "not a port (1 to 65535)" : "not a whole number",
      number ? "nothing listens for terminals (without a window the server does not start)"
             : "1001 is used (without a window the server does not start)"));
}

void ReadStatusListener(ConfigReader& reader, ServerConfig& config) {
  config.statusPort = reader.integer("SERVER-CONFIG", "PORTA-STATUS", 0, "the status page is off");
  if (config.statusPort != 0 && !IsPort(config.statusPort)) {
    reader.note(ValueProblem(kWarning, "SERVER-CONFIG", "PORTA-STATUS",
                             std::to_string(config.statusPort), "not a port (1 to 65535)",
                             "the status page does not open"));
  }
  config.statusAddress = reader.text("SERVER-CONFIG", "ENDERECO-STATUS", "127.0.0.1");
  if (!IsIpAddress(config.statusAddress)) {
    reader.note(ValueProblem(kWarning, "SERVER-CONFIG", "ENDERECO-STATUS", config.statusAddress,
                             "not an IP address (a name is not looked up)",
                             config.statusEnabled() ? "the status page does not open" : ""));
  }
}

}  // namespace

ServerConfig ReadServerConfig(const IniFile& ini, std::vector<ConfigProblem>* problems) {
  ConfigReader reader(ini);
  ServerConfig config;
  config.protocolTerminal = reader.text("SERVER-CONFIG", "PROTOCOLO-TERMINAL", "VT-100");
  CheckChoice(reader, "PROTOCOLO-TERMINAL", config.protocolTerminal, "VT-100", "STX-ETX",
              "the terminals are spoken to in VT-100");
  config.keyboardType = reader.text("SERVER-CONFIG", "TIPO-TECLADO", "16");
  CheckChoice(reader, "TIPO-TECLADO", config.keyboardType, "16", "44",
              "texts are cut at 20 characters");
  ReadTerminalPort(reader, config);
  ReadStatusListener(reader, config);
  config.maxTerminals = reader.integer("SERVER-CONFIG", "MAXIMO-TERMINAIS", kDefaultMaxTerminals);
  if (config.maxTerminals <= 0) {
    reader.note(ValueProblem(kWarning, "SERVER-CONFIG", "MAXIMO-TERMINAIS",
                             std::to_string(config.maxTerminals), "0 or less",
                             std::to_string(kDefaultMaxTerminals) + " is used"));
    config.maxTerminals = kDefaultMaxTerminals;
  }

  for (const std::string& line : reader.sectionValues("IP_TERMINAL_LED")) {
    config.ledTerminals.push_back(ValueOfLine(line));
    if (!IsIpAddress(config.ledTerminals.back())) {
      reader.note(ValueProblem(kWarning, "IP_TERMINAL_LED", line.substr(0, line.find('=')),
                               config.ledTerminals.back(), "not an IP address",
                               "no terminal matches it"));
    }
  }
  for (const std::string& line : reader.sectionValues(kNamedTerminalsSection)) {
    config.namedTerminals.push_back(ParseNamedTerminal(line));
    if (!IsIpAddress(config.namedTerminals.back().address)) {
      reader.note(ValueProblem(kWarning, kNamedTerminalsSection,
                               config.namedTerminals.back().address, line, "not an IP address",
                               "no terminal matches it"));
    }
  }
  config.greenLedTime = reader.integer("CONFIG_LED", "TEMPO_LED_VERDE", 300);
  config.redLedTime = reader.integer("CONFIG_LED", "TEMPO_LED_VERMELHO", 300);
  config.greenLedRepeats = reader.integer("CONFIG_LED", "QTDE_REPETICAO_LED_VERDE", 1);
  config.redLedRepeats = reader.integer("CONFIG_LED", "QTDE_REPETICAO_LED_VERMELHO", 2);

  config.database = reader.text("BDADOS-CONFIG", "BDADOS", "ERRO");
  if (!config.databaseConfigured()) {
    reader.note({kError, "BDADOS-CONFIG", "BDADOS", 0, reader.has("BDADOS-CONFIG", "BDADOS"),
                 config.database, reader.has("BDADOS-CONFIG", "BDADOS") ? "means none" : "missing",
                 "no database is configured: nothing listens for terminals (without a window "
                 "the server does not start)"});
  }
  config.key = reader.text("BDADOS-CONFIG", "CHAVE", "2");
  config.user = reader.text("BDADOS-CONFIG", "USUARIO", "SYSDBA");
  if (config.user.empty()) {
    reader.note(ValueProblem(kWarning, "BDADOS-CONFIG", "USUARIO", "", "empty", "SYSDBA is used"));
    config.user = "SYSDBA";
  }
  config.firebirdVersion = reader.text("BDADOS-CONFIG", "VersaoFirebird", "2.5");
  config.lockTimeoutSeconds =
      reader.integer("BDADOS-CONFIG", "TEMPO-ESPERA-BLOQUEIO", kDefaultLockTimeoutSeconds);
  config.databaseWorkers =
      reader.integer("BDADOS-CONFIG", "CONEXOES-BANCO", kDefaultDatabaseWorkers);
  if (config.databaseWorkers < 1 || config.databaseWorkers > kMaxDatabaseWorkers) {
    reader.note(ValueProblem(kWarning, "BDADOS-CONFIG", "CONEXOES-BANCO",
                             std::to_string(config.databaseWorkers),
                             "not between 1 and " + std::to_string(kMaxDatabaseWorkers),
                             std::to_string(kDefaultDatabaseWorkers) + " is used"));
    config.databaseWorkers = kDefaultDatabaseWorkers;
  }
  config.operationDeadlineSeconds =
      reader.integer("BDADOS-CONFIG", "PRAZO-OPERACAO", kDefaultOperationDeadlineSeconds);
  if (config.operationDeadlineSeconds < 1) {
    reader.note(ValueProblem(kWarning, "BDADOS-CONFIG", "PRAZO-OPERACAO",
                             std::to_string(config.operationDeadlineSeconds), "less than 1",
                             std::to_string(kDefaultOperationDeadlineSeconds) + " is used"));
    config.operationDeadlineSeconds = kDefaultOperationDeadlineSeconds;
  }
  if (config.lockTimeoutSeconds >= config.operationDeadlineSeconds) {
    reader.note(ValueProblem(kWarning, "BDADOS-CONFIG", "PRAZO-OPERACAO",
                             std::to_string(config.operationDeadlineSeconds),
                             "not longer than TEMPO-ESPERA-BLOQUEIO",
                             "a card waiting on a locked record is cancelled by the deadline "
                             "before its lock wait ends"));
  }

  if (problems != nullptr) {
    *problems = reader.problems();
    const std::vector<ConfigProblem> unread = reader.unreadParts();
    problems->insert(problems->end(), unread.begin(), unread.end());
  }
  return config;
}

ServerConfigReading ReadServerConfigFile(const std::filesystem::path& file) {
  ServerConfigReading reading;
  IniFile ini;
  std::string failure;
  if (!IniFile::tryFromFile(file, ini, failure)) {
    reading.problems.push_back({kError, "", "", 0, false, "", "cannot be read: " + failure,
                                "every setting takes its default and no database is "
                                "configured (without a window the server does not start)"});
    return reading;
  }
  reading.config = ReadServerConfig(ini, &reading.problems);
  return reading;
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
  return "LoadParam: (ProtocoloTerminal = " + config.protocolInUse() +
         "), (TipoTeclado = " + config.keyboardInUse() +
         "), (PortaIp = " + std::to_string(config.port) + ").";
}

}  // namespace mts
