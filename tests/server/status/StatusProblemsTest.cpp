#include "server/status/StatusProblems.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "StatusTestClock.h"
#include "server/status/StatusText.h"

namespace mts {
namespace {

using namespace std::chrono_literals;
using test::LocalMoment;

const StatusTime kNow = LocalMoment(2026, 3, 5, 10, 30);

TerminalStatus Terminal(int number, const std::string& address, bool connected) {
  TerminalStatus terminal;
  terminal.number = number;
  terminal.address = address;
  terminal.connected = connected;
  return terminal;
}

// A server with nothing to report: listening, database answering, one
// terminal connected.
StatusSnapshot Healthy() {
  StatusSnapshot status;
  status.now = kNow;
  status.startedAt = kNow - 3h;
  status.terminalPort = 1001;
  status.listening = true;
  status.database.reachability = Reachability::Reachable;
  status.terminals = {Terminal(0, "10.0.0.1", true)};
  return status;
}

TEST(StatusProblems, NamesWhatNeedsAttentionMostUrgentFirst) {
  struct Row {
    const char* name;
    std::function<void(StatusSnapshot&)> change;
    std::vector<std::string> expected;  // "kind: text"
  };
  const std::vector<Row> rows{
      {"nothing wrong", [](StatusSnapshot&) {}, {}},
      {"an SQL error on a reachable database is not a problem",
       [](StatusSnapshot& s) {
         s.database.lastError = "violation of FOREIGN KEY";
         s.database.lastErrorAt = kNow - 1min;
         s.database.errors = 1;
       },
       {}},
      {"database lost",
       [](StatusSnapshot& s) {
         s.database.reachability = Reachability::Unreachable;
         s.database.unreachableSince = kNow - 2h - 5min;
         s.database.lastError = "connection lost to database.";
         s.database.lastErrorAt = kNow - 10s;
       },
       {"database: Banco de dados inacess\xEDvel h\xE1 2 h 05 min: connection lost to "
        "database."}},
      {"database never answered",
       [](StatusSnapshot& s) { s.database.reachability = Reachability::Unknown; },
       {"database: Banco de dados ainda n\xE3o respondeu desde o in\xED"
        "cio."}},
      {"port closed",
       [](StatusSnapshot& s) { s.listening = false; },
       {"listener: Porta de terminais 1001 fechada: nenhum terminal consegue conectar."}},
      {"one terminal left",
       [](StatusSnapshot& s) {
         s.terminals.push_back(Terminal(1, "10.0.0.2", false));
         s.terminals.back().disconnectedSince = kNow - 42s;
       },
       {"terminals: 1 terminal desconectado: 10.0.0.2 h\xE1 42 s."}},
      {"named terminals, one gone without a known time and one never seen",
       [](StatusSnapshot& s) {
         s.terminals.push_back(Terminal(1, "10.0.0.2", false));
         s.terminals.back().name = "Costura 2";
         s.terminals.push_back(Terminal(-1, "10.0.0.9", false));
         s.terminals.back().name = "Corte 1";
         s.terminals.back().place = "Linha 1";
       },
       {"terminals: 2 terminais desconectados: Costura 2 (10.0.0.2); Corte 1 (10.0.0.9) nunca "
        "conectou."}},
      {"listener restarts",
       [](StatusSnapshot& s) {
         s.listenerRestarts = 3;
         s.lastRestartAt = kNow - 26h;
         s.lastRestartReason = "Connection reset by peer";
       },
       {"restarts: Conex\xE3o de terminais reiniciada 3 vez(es), a \xFAltima h\xE1 1 d 2 h: "
        "Connection reset by peer."}},
      {"everything at once, in order of urgency",
       [](StatusSnapshot& s) {
         s.listenerRestarts = 1;
         s.lastRestartAt = kNow - 5min;
         s.lastRestartReason = "Broken pipe";
         s.terminals[0].connected = false;
         s.terminals[0].disconnectedSince = kNow - 5min;
         s.database.reachability = Reachability::Unreachable;
         s.listening = false;
       },
       {"listener: Porta de terminais 1001 fechada: nenhum terminal consegue conectar.",
        "database: Banco de dados inacess\xEDvel.",
        "terminals: 1 terminal desconectado: 10.0.0.1 h\xE1 5 min.",
        "restarts: Conex\xE3o de terminais reiniciada 1 vez(es), a \xFAltima h\xE1 5 min: Broken "
        "pipe."}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    StatusSnapshot status = Healthy();
    row.change(status);
    std::vector<std::string> found;
    for (const StatusProblem& problem : StatusProblems(status)) {
      found.push_back(problem.kind + ": " + problem.text);
    }
    EXPECT_EQ(found, row.expected);
  }
}

TEST(StatusText, TimeSinceKeepsOnlyTheUnitsThatMatter) {
  struct Row {
    std::chrono::seconds ago;
    const char* text;
  };
  const std::vector<Row> rows{
      {-5s, "0 s"},
      {0s, "0 s"},
      {59s, "59 s"},
      {60s, "1 min"},
      {59min + 59s, "59 min"},
      {1h, "1 h 00 min"},
      {2h + 5min + 30s, "2 h 05 min"},
      {23h + 59min, "23 h 59 min"},
      {24h, "1 d 0 h"},
      {24h * 9 + 3h, "9 d 3 h"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TimeSince(kNow - row.ago, kNow), row.text) << row.ago.count();
  }
}

}  // namespace
}  // namespace mts
