#include "server/ServerCore.h"

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "dataaccess/firebird/DatabaseError.h"
#include "server/ClientConnect.h"
#include "server/KeysOfRead.h"
#include "server/ModuleWorkerProduction.h"

namespace mts {
namespace {

// Sets a flag for the lifetime of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// True inside a catch handler of a database error: the error handler is
// called from there, and only the exception itself tells a database failure
// from a socket or file one.
bool HandlingDatabaseError() {
  const std::exception_ptr current = std::current_exception();
  if (!current) return false;
  try {
    std::rethrow_exception(current);
  } catch (const db::DatabaseError&) {
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

ServerCore::ServerCore(ServerPaths paths, ServerView& view, TerminalListener& listener,
                       EventTimer& timer, LocalClock clock)
    : paths_(std::move(paths)),
      view_(view),
      Server_(listener),
      clock_(std::move(clock)),
      screen_(TerminalSettings{}, timer, [this](const std::string& message) { WriteLog(message); }),
      timer_(timer),
      submission_(
          screen_, production_, [this](const std::string& line) { AddReceived(line); },
          [this](const std::string& line) { WriteLog(line); }),
      input_(RegConnections_, screen_, submission_,
             [this](const std::string& line) { view_.addReceivedAt(LinePriority::Trace, line); }) {}

ServerCore::~ServerCore() {
  // The workers go first: none may answer into what is released below.
  production_.Attach(nullptr);
}

void ServerCore::FormCreate() {
  try {
    log_.emplace(paths_.logFolder, clock_);
    LoadParam();
    try {
      AtivarServer();
    } catch (const std::exception&) {
      settingsUnusable_ = true;
      throw;
    }
    StartWorkers();
  } catch (const std::exception& error) {
    view_.showError(error.what());
  }
}

void ServerCore::StartWorkers() {
  ProductionWorkersSettings settings;
  settings.workers = static_cast<std::size_t>(config_.databaseWorkers);
  settings.deadline = std::chrono::seconds(config_.operationDeadlineSeconds);
  // One worker is the single thread of old, reserves and all.
  settings.reserves = settings.workers >= 2 ? settings.workers : 0;
  const db::ConnectionSettings connection = connectionSettings_;
  production_.Attach(std::make_unique<ProductionWorkers>(
      settings,
      [connection](std::size_t) { return std::make_unique<ModuleWorkerProduction>(connection); },
      [this](std::function<void()> work) { timer_.post(std::move(work)); },
      [this](const DatabaseState& state) { DatabaseStateChanged(state); }));
}

void ServerCore::DatabaseStateChanged(const DatabaseState& state) {
  if (state.up) {
    if (activity_) activity_->databaseReachable();
    if (databaseDownShown_) AddReceived("Banco de dados acessível novamente.");
    return;
  }
  if (activity_) activity_->databaseError(state.detail, false);
  WriteLog("Banco de dados inacessível: " + state.detail);
  // The first time is a start-up error, shown as one; later ones are notices.
  if (!databaseDownShown_) {
    databaseDownShown_ = true;
    view_.showError(state.detail);
  } else {
    view_.showNotice("Banco de dados inacessível: " + state.detail);
  }
}

void ServerCore::FormShow() {
  errorHandlerInstalled_ = true;
}

void ServerCore::FormClose() {
  if (closed_) return;
  closed_ = true;
  production_.Attach(nullptr);
  DesativarServer();
}

void ServerCore::LoadParam() {
  const ServerConfigReading reading = ReadServerConfigFile(paths_.iniFile);
  config_ = reading.config;
  for (const ConfigProblem& problem : reading.problems) {
    const std::string line = DescribeConfigProblem(paths_.iniFile, problem);
    view_.showNotice(line);
    WriteLog(line);
  }

  TerminalSettings& settings = screen_.Settings();
  RegConnections_.SetLedTerminals(config_.ledTerminals);
  settings.GreenLedTime = config_.greenLedTime;
  settings.RedLedTime = config_.redLedTime;
  settings.GreenLedRepeats = config_.greenLedRepeats;
  settings.RedLedRepeats = config_.redLedRepeats;
  if (!config_.databaseConfigured()) {
    settingsUnusable_ = true;
    throw std::runtime_error("Banco de Dados n\xE3o Configurado.");
  }
  if (refuseSettingsErrors_ && HasConfigError(reading.problems)) {
    settingsUnusable_ = true;
    throw std::runtime_error("mtserver does not start: " + paths_.iniFile.string() +
                             " has the errors above (mtserver --check-config lists them)");
  }

  settings.ProtocolStxEtx = config_.protocolStxEtx();
  settings.WideKeyboard = config_.wideKeyboard();
  Port_ = config_.port;

  WriteLog(LoadParamLogLine(config_));
  view_.setStatusPanel(1, "Protocolo Terminal: " + config_.protocolInUse());
  view_.setStatusPanel(2, "Tipo Teclado: " + config_.keyboardInUse());
  view_.setStatusPanel(3, "Porta IP: " + std::to_string(Port_));

  const std::string password = PasswordForKey(config_.key);
  db::ConnectionSettings connection;
  connection.database = config_.database;
  connection.user = config_.user;
  connection.password = password;
  connection.dialect = 3;
  connection.charset = "WIN1252";
  connection.lockTimeoutSeconds = config_.lockTimeoutSeconds;
  connectionSettings_ = std::move(connection);

  view_.setStatusPanel(0, "BD: " + config_.database);
}

void ServerCore::AtivarServer() {
  std::string error;
  Server_.setMaxConnections(static_cast<std::size_t>(config_.maxTerminals));
  const bool opened = Server_.open(Port_, error);
  WriteLog(std::string("AtivarServer: ") +
           (Server_.isListening() ? "servidor ativo" : "servidor inativo"));
  if (!opened) throw std::runtime_error(error);
}

void ServerCore::DesativarServer() {
  Server_.close();
  WriteLog("servidor desativado.");
}

void ServerCore::ServerException(const std::string& message) {
  view_.addReceivedAt(LinePriority::Error, "Erro Conex\xE3o: " + message);
  // An error raised while the listener restarts (or while its failure is being
  // shown) is only shown: restarting again from here could go on forever.
  if (inServerException_) return;
  FlagScope restarting(inServerException_);

  std::string failure;
  try {
    DesativarServer();
  } catch (const std::exception& error) {
    failure = error.what();
  }
  try {
    AtivarServer();
  } catch (const std::exception& error) {
    if (failure.empty()) failure = error.what();
  }
  if (Server_.isListening()) AddReceived("Conex\xE3o Servidor Reiniciada.");
  if (!failure.empty()) view_.showError(failure);
  if (activity_) activity_->listenerRestarted(message, Server_.isListening());
}

void ServerCore::WriteLog(const std::string& message) {
  if (!log_) throw std::logic_error("WriteLog before start-up fixed the log file");
  // A log that cannot be written (folder removed or read-only, disk full) must
  // not stop the terminals: the failure is reported when it starts and when it
  // ends, and the lines in between are lost.
  try {
    log_->WriteLog(message);
  } catch (const std::exception& error) {
    if (logFailing_) return;
    logFailing_ = true;
    ReportLogState(std::string("Log inacess\xEDvel, terminais continuam atendidos: ") +
                   error.what());
    return;
  }
  if (!logFailing_) return;
  logFailing_ = false;
  ReportLogState("Log gravado novamente: " + log_->fileName().string());
}

void ServerCore::ReopenLog() {
  if (!log_) return;
  log_->Reopen();
  WriteLog("Log reaberto.");
  AddReceived("Log reaberto: " + log_->fileName().string());
}

void ServerCore::ReportLogState(const std::string& line) {
  view_.showNotice(line);
}

void ServerCore::AddReceived(const std::string& line) {
  view_.addReceived(line);
}

std::filesystem::path ServerCore::LogFileName() const {
  return log_ ? log_->fileName() : std::filesystem::path();
}

void ServerCore::ClientConnect(const std::shared_ptr<TerminalConnection>& connection) {
  ConnectedTerminal terminal =
      mts::ClientConnect(RegConnections_, screen_, connection, Server_.activeConnections());
  if (terminal.IsNewTerminal) view_.addTerminalListEntry(terminal.ListEntry);
  if (activity_) activity_->terminalConnected(terminal.TerminalNumber, connection->remoteAddress());
}

void ServerCore::ClientDisconnect(const std::shared_ptr<TerminalConnection>& connection) {
  if (!activity_) return;
  const int terminal = RegConnections_.FindTerminal(connection->remoteAddress());
  if (terminal >= 0) activity_->terminalDisconnected(terminal);
}

void ServerCore::ServerClientRead(const std::shared_ptr<TerminalConnection>& connection,
                                  const std::string& unit) {
  if (activity_) {
    const int terminal = RegConnections_.FindTerminal(connection->remoteAddress());
    const std::vector<std::string_view> keys = KeysOfRead(unit);
    if (terminal >= 0 && !keys.empty()) activity_->keyReceived(terminal, std::string(keys.back()));
  }
  input_.ServerClientRead(connection, unit);
}

void ServerCore::ConnectionNotice(const std::string& message) {
  view_.addReceivedAt(LinePriority::Warning, message);
  WriteLog(message);
}

void ServerCore::HandleError(const std::string& message) {
  if (activity_ && HandlingDatabaseError()) activity_->databaseError(message, true);
  if (errorHandlerInstalled_) {
    ServerException(message);
  } else {
    view_.showError(message);
  }
}

}  // namespace mts
