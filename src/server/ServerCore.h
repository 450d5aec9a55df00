#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataaccess/firebird/Connection.h"
#include "server/CardSubmission.h"
#include "server/ProductionWorkers.h"
#include "server/RegConnections.h"
#include "server/ServerActivity.h"
#include "server/ServerConfig.h"
#include "server/ServerLog.h"
#include "server/ServerProduction.h"
#include "server/ServerView.h"
#include "server/TerminalInput.h"
#include "server/TerminalListener.h"
#include "server/TerminalScreen.h"

namespace mts {

// Where the server finds its settings and writes its log.
struct ServerPaths {
  std::filesystem::path iniFile;
  std::filesystem::path logFolder;
};

inline constexpr const char* kServerTitle = "Varnel Sistemas - Servidor de Micro Terminais";

// The server behind its window: start-up, configuration, log, the listening
// socket's life cycle, the terminal registry, the database workers (each with
// its own connection and production module), and the error handler that
// restarts the listener. It
// shows everything through a ServerView, so the window and the headless run
// share all of it.
//
// Received keys go to the terminal input state machine (TerminalInput), which
// submits complete entries to the badge and card flow (CardSubmission), which
// hands them to the database workers; their answers come back on the event
// loop (EventTimer::post), which never waits on the database.
//
// Owns the registry, the LED list and the workers, which live until it is
// destroyed (the workers stop first). The view, the listener and the event
// timer are the caller's and must outlive it. Event-loop thread only.
class ServerCore final : public TerminalEvents {
 public:
  ServerCore(ServerPaths paths, ServerView& view, TerminalListener& listener, EventTimer& timer,
             LocalClock clock = CurrentLocalTime);
  ~ServerCore() override;
  ServerCore(const ServerCore&) = delete;
  ServerCore& operator=(const ServerCore&) = delete;

  // Start-up: opens the daily log, LoadParam, AtivarServer, then starts the
  // database workers, which attach in the background. The first error is
  // shown in an error box and the steps after it are skipped; the server still
  // runs, and closes normally. A database out of reach is shown once it is
  // known, without holding up the listener.
  void FormCreate();
  // Whether an error in the settings (see ConfigProblem) stops start-up before
  // anything listens, as a server without a window wants: it could not be
  // told otherwise. Off by default, where the window shows what it uses.
  void setRefuseSettingsErrors(bool refuse) { refuseSettingsErrors_ = refuse; }
  // True once start-up met settings it cannot serve with: no settings file,
  // no database, or a terminal port it could not listen on.
  bool SettingsUnusable() const { return settingsUnusable_; }
  // From now on errors escaping an event handler restart the listener
  // (ServerException) instead of showing an error box.
  void FormShow();
  // Stops the database workers (a card under way ends first), then
  // DesativarServer. Later calls do nothing. Throws what DesativarServer
  // throws.
  void FormClose();

  // Reads the INI file and applies it; throws the start-up error when no
  // database is configured.
  void LoadParam();
  // Opens the listening socket on the configured port and logs whether it
  // listens; throws when it could not.
  void AtivarServer();
  // Closes the listening socket and every terminal connection, then logs it.
  void DesativarServer();
  // Shows the error in the received-data view and restarts the listener. A
  // failure while restarting is reported once and never restarts again.
  void ServerException(const std::string& message);

  // Appends to the log file; a failure to write is reported (once, and again
  // when writing works again), never thrown.
  void WriteLog(const std::string& message);
  // After the log file was moved away (rotation): the next line starts it
  // again; says so in the new file.
  void ReopenLog();
  void AddReceived(const std::string& line);
  void ReportLogState(const std::string& line);

  // TerminalEvents
  void ClientConnect(const std::shared_ptr<TerminalConnection>& connection) override;
  // Only reported to the activity: the record stays for the next connect.
  void ClientDisconnect(const std::shared_ptr<TerminalConnection>& connection) override;
  void ServerClientRead(const std::shared_ptr<TerminalConnection>& connection,
                        const std::string& unit) override;
  void HandleError(const std::string& message) override;
  // Logged and shown; the listener and the other terminals are left alone.
  void ConnectionNotice(const std::string& message) override;

  // Who is told about connects, disconnects, keys, badge and card results, database errors
  // and listener restarts;
  // null (the default) tells nobody. Not owned; must outlive the core or be
  // reset first.
  void setActivity(ServerActivity* activity) {
    activity_ = activity;
    submission_.setActivity(activity);
  }
  ServerActivity* activity() const { return activity_; }

  const ServerConfig& config() const { return config_; }
  // The file today's log lines go to; empty before start-up.
  std::filesystem::path LogFileName() const;
  // What each worker's connection uses, from the settings.
  const db::ConnectionSettings& connectionSettings() const { return connectionSettings_; }
  RegConnections& registry() { return RegConnections_; }
  TerminalScreen& screen() { return screen_; }
  TerminalInput& input() { return input_; }
  // Null until start-up reaches its last step.
  ProductionWorkers* workers() const { return production_.workers(); }

 private:
  ServerPaths paths_;
  ServerView& view_;
  TerminalListener& Server_;
  LocalClock clock_;

  ServerConfig config_;
  int Port_ = 0;
  std::optional<ServerLog> log_;
  RegConnections RegConnections_;
  TerminalScreen screen_;
  EventTimer& timer_;
  db::ConnectionSettings connectionSettings_;
  ServerProduction production_;
  CardSubmission submission_;
  TerminalInput input_;
  // Whether the database was ever reported out of reach: the first time is
  // shown as a start-up error.
  bool databaseDownShown_ = false;

  ServerActivity* activity_ = nullptr;

  void StartWorkers();
  void DatabaseStateChanged(const DatabaseState& state);

  bool refuseSettingsErrors_ = false;
  bool settingsUnusable_ = false;
  bool errorHandlerInstalled_ = false;
  bool inServerException_ = false;
  bool closed_ = false;
  bool logFailing_ = false;
};

}  // namespace mts
