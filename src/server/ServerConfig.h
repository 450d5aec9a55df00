#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "server/ConfigProblem.h"
#include "server/IniFile.h"
#include "server/NamedTerminals.h"

namespace mts {

inline constexpr int kDefaultLockTimeoutSeconds = 10;
inline constexpr int kDefaultDatabaseWorkers = 4;
inline constexpr int kMaxDatabaseWorkers = 64;
inline constexpr int kDefaultOperationDeadlineSeconds = 15;
inline constexpr int kDefaultMaxTerminals = 256;

// The server's settings as read from its INI file. Texts are kept exactly as
// read (Windows-1252 bytes); the flags derived from them are exact matches.

struct ServerConfig {
  // SERVER-CONFIG
  std::string protocolTerminal = "VT-100";  // PROTOCOLO-TERMINAL, as read
  std::string keyboardType = "16";          // TIPO-TECLADO, as read
  int port = 1001;                          // PORTA-IP
  // PORTA-STATUS: port of the status page and metrics; 0 (missing or not a
  // number) leaves them off.
  int statusPort = 0;
  // ENDERECO-STATUS: the address the status listener binds.
  std::string statusAddress = "127.0.0.1";
  // MAXIMO-TERMINAIS: terminal connections served at once; past it a new
  // connection is closed and logged. 0 or less (or not a number) keeps the
  // default. The process's descriptor limit may lower it further.
  int maxTerminals = kDefaultMaxTerminals;
  // IP_TERMINAL_LED: the values of the section's lines, in file order.
  std::vector<std::string> ledTerminals;
  // TERMINAIS: the terminals the factory expects, by address, with their name
  // and place, in file order; the status page lists them even before they
  // connect.
  std::vector<NamedTerminal> namedTerminals;
  // CONFIG_LED
  int greenLedTime = 300;
  int redLedTime = 300;
  int greenLedRepeats = 1;
  int redLedRepeats = 2;
  // BDADOS-CONFIG
  std::string database = "ERRO";  // BDADOS; "ERRO" means no database is configured
  std::string key = "2";          // CHAVE, chooses the password
  std::string user = "SYSDBA";    // USUARIO, the database user
  // VersaoFirebird: read for the files that have it, used for nothing; the
  // installed Firebird client serves every server version it can reach.
  std::string firebirdVersion = "2.5";
  // TEMPO-ESPERA-BLOQUEIO: seconds a card waits for a record another program
  // holds locked before it fails. 0 or less waits for ever (until the
  // operation's deadline cancels it).
  int lockTimeoutSeconds = kDefaultLockTimeoutSeconds;
  // CONEXOES-BANCO: database workers, each a thread with its own connection;
  // cards of different terminals run side by side on them. 1 to 64.
  int databaseWorkers = kDefaultDatabaseWorkers;
  // PRAZO-OPERACAO: seconds a badge or card may wait on the database before
  // it is cancelled and answered as a database error; at least 1, and meant
  // to be longer than TEMPO-ESPERA-BLOQUEIO.
  int operationDeadlineSeconds = kDefaultOperationDeadlineSeconds;

  // Exactly "STX-ETX" (letter case counts); anything else is VT-100.
  bool protocolStxEtx() const { return protocolTerminal == "STX-ETX"; }
  // Exactly "44": writes cut at 40 characters instead of 20.
  bool wideKeyboard() const { return keyboardType == "44"; }
  // The protocol and keyboard the server works with, as start-up shows them:
  // a value it does not know is shown as what it falls back to.
  std::string protocolInUse() const { return protocolStxEtx() ? "STX-ETX" : "VT-100"; }
  std::string keyboardInUse() const { return wideKeyboard() ? "44" : "16"; }
  bool databaseConfigured() const { return database != "ERRO"; }
  bool statusEnabled() const { return statusPort != 0; }
};

// Reads every setting, falling back to its default when the key is missing
// (or, for a number, when its value is not a number). With problems, also
// adds there every value not usable as written, a missing database, a
// terminal port that cannot be used, and what in the file nothing reads.
ServerConfig ReadServerConfig(const IniFile& ini, std::vector<ConfigProblem>* problems = nullptr);

struct ServerConfigReading {
  ServerConfig config;
  std::vector<ConfigProblem> problems;
};

// Reads the settings file. One that does not exist or cannot be read gives
// the defaults and a single problem naming the system's reason.
ServerConfigReading ReadServerConfigFile(const std::filesystem::path& file);

// Removes everything up to and including the first "=" of a "key=value" line;
// a line without "=" stays whole.
std::string ValueOfLine(const std::string& line);

// The database password chosen by the CHAVE value: "1" to "4" select one of
// the fixed passwords; any other value is itself the password.
std::string PasswordForKey(const std::string& key);

// The text of the log line written once the settings are read.
std::string LoadParamLogLine(const ServerConfig& config);

}  // namespace mts
