#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>

#include "BenchFactory.h"
#include "SimulatedTerminal.h"
#include "dataaccess/firebird/Connection.h"
#include "support/ChildProcess.h"
#include "support/PrivateFirebirdServer.h"
#include "support/TempDir.h"

namespace mts::bench {

struct Options {
  std::string mtserver;
  std::string json;
  bool quick = false;
  // The groups of scenarios to run; empty runs them all.
  std::set<std::string> only;
  // Database workers of the many-terminal server; 0 keeps the server's default.
  int workers = 0;
  bool runs(const std::string& group) const { return only.empty() || only.count(group) > 0; }
};

enum class Engine { PrivateServer, Embedded };

// The INI key (section BDADOS-CONFIG) for the number of threads that do the
// server's database work, each on its own connection.
inline constexpr const char* kDatabaseWorkersKey = "CONEXOES-BANCO";

// The idle run holds a thousand terminals: each is a descriptor here and one
// in mtserver, which inherits this process's limit.
inline constexpr int kMaxTerminals = 1100;

// A factory, its database engine and mtserver serving it; everything ends
// with the object. `extraIni` is appended to the INI's BDADOS-CONFIG section
// (a section header in it starts another section).
class BenchServer {
 public:
  BenchServer(const Options& options, Engine engine, const FactorySize& size,
              const std::string& extraIni = "");
  ~BenchServer();
  BenchServer(const BenchServer&) = delete;
  BenchServer& operator=(const BenchServer&) = delete;

  int port() const { return port_; }
  pid_t pid() const { return server_->pid(); }
  // What mtserver logged so far, for a failure's report.
  std::string log() const;
  // The factory's database through the private Firebird server, for a
  // connection of another program (private server mode only).
  db::ConnectionSettings databaseSettings() const;
  test::PrivateFirebirdServer& firebird();

 private:
  void waitUntilListening();

  test::TempDir folder_;
  int port_;
  std::unique_ptr<test::PrivateFirebirdServer> firebird_;
  std::unique_ptr<test::ChildProcess> server_;
};

// Every timed card is a distinct generated card that assembly accepts: a
// refusal takes a shorter path through the server and would flatter the
// figures, so any other answer stops the run.
std::chrono::nanoseconds acceptedLatency(SimulatedTerminal& terminal, const std::string& code);

}  // namespace mts::bench
