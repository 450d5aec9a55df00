#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "dataaccess/firebird/Connection.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace mts::test {

// A Firebird server of the test's own, on 127.0.0.1 and a free port, leaving
// the machine's server and settings alone: its own root folder (FIREBIRD) with
// firebird.conf, security database and SYSDBA password, and its own lock
// folder (FIREBIRD_LOCK). Two test processes each get their own port and
// folders. Runs from construction until stop() or the destructor.
//
//   TestDatabase db(schema);                      // never opened by this process
//   PrivateFirebirdServer server;
//   db::Connection a(server.settings(db.path()));  // "127.0.0.1/<port>:<path>"
//   server.restart();                             // a's next statement finds the link gone
//
// A database file it serves must not be open in the embedded engine of any
// other process (this one included).
class PrivateFirebirdServer {
 public:
  PrivateFirebirdServer();
  ~PrivateFirebirdServer();
  PrivateFirebirdServer(const PrivateFirebirdServer&) = delete;
  PrivateFirebirdServer& operator=(const PrivateFirebirdServer&) = delete;

  int port() const { return port_; }
  const std::string& password() const { return password_; }
  const std::filesystem::path& root() const { return root_.path(); }
  // The server process, while it runs.
  pid_t pid() const;

  // "127.0.0.1/<port>:<database>"
  std::string connectionString(const std::filesystem::path& database) const;
  // SYSDBA with this server's password, dialect 3, WIN1252.
  db::ConnectionSettings settings(const std::filesystem::path& database) const;

  // Runs `script` in isql, a process of its own, connected to `database`
  // through this server as SYSDBA with connection character set WIN1252.
  // Returns isql's output; throws std::runtime_error with it when isql fails.
  std::string isql(const std::filesystem::path& database, const std::string& script) const;

  bool running();
  // Stops the server the way an administrator does (SIGTERM; every attachment
  // through it is cut); start() brings it back on the same port.
  void stop();
  // Ends the server at once (SIGKILL), as a crash or a power cut would: its
  // clients learn it only when they next talk to it.
  void kill();
  void start();
  // Freezes the server (SIGSTOP) as a hung host: connections are still
  // accepted by the kernel and nothing is answered, until resume() (SIGCONT).
  void pause();
  void resume();
  void restart() {
    stop();
    start();
  }

 private:
  void prepareRoot();
  void writeConfig() const;
  // Starts the process and waits until it accepts connections; false when it
  // ended first (the port was taken, for instance).
  bool launch();
  Environment environment() const;

  TempDir root_;
  std::string password_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace mts::test
