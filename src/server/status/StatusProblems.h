#pragma once

#include <string>
#include <vector>

#include "server/status/StatusSnapshot.h"

namespace mts {

// Something in a snapshot that needs someone's attention.
struct StatusProblem {
  // "listener", "database", "terminals" or "restarts".
  std::string kind;
  // One sentence for a person (Windows-1252).
  std::string text;
};

// The snapshot's problems, at most one of each kind, most urgent first: the
// terminal port not listening, the database not answering, terminals not
// connected (those that left and the named ones that never came), and
// restarts of the terminal listener since the server started.
std::vector<StatusProblem> StatusProblems(const StatusSnapshot& status);

// How texts call a terminal: "Montagem 1 (192.168.0.21)" when it is named,
// else its address.
std::string TerminalTitle(const TerminalStatus& terminal);

}  // namespace mts
