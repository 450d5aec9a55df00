#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "mtterm/KeyScript.h"
#include "mtterm/ServerLink.h"

namespace mts::termsim {

// Runs a key script against the connected server and prints the screen to `out` (at each
// {show} and at the end, also when the run fails). Problems go to `diagnostics`. Returns
// the exit code.
class ScriptedSession {
 public:
  struct Settings {
    std::optional<std::string> waitFor;  // Windows-1252, waited for before the first key
    std::chrono::milliseconds settle{500};
    std::chrono::milliseconds timeout{10000};
  };

  ScriptedSession(ServerLink& link, const ProtocolInterpreter& interpreter, Settings settings,
                  std::ostream& out, std::ostream& diagnostics);

  int run(const std::vector<KeyStep>& steps);

 private:
  using Clock = ServerLink::Clock;

  // Each returns an exit code; kExitOk to go on.
  int runStep(const KeyStep& step);
  int settle();
  int waitFor(const std::string& text);
  int pause(std::chrono::milliseconds length);
  int linkProblem();
  void show();

  ServerLink& link_;
  const ProtocolInterpreter& interpreter_;
  Settings settings_;
  std::ostream& out_;
  std::ostream& diagnostics_;
};

}  // namespace mts::termsim
