#pragma once

#include <ostream>
#include <string>

#include "mtterm/ServerLink.h"

namespace mts::termsim {

// Puts the console (stdin and stdout, both terminals) in raw mode, draws the simulated
// terminal and sends the keys typed until Ctrl-C or Ctrl-Q, a termination signal or the
// end of the connection. The console is restored before returning, and the last screen is
// printed in the scripted text form. Problems go to `diagnostics`. Returns the exit code.
int runInteractive(ServerLink& link, const ProtocolInterpreter& interpreter, int socketFd,
                   const std::string& title, std::ostream& diagnostics);

}  // namespace mts::termsim
