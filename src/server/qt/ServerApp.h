#pragma once

namespace mts {

// The whole mtserver program: parses the command line, then runs the server
// with its window, or headless (--headless, or when there is no display),
// until the window closes or SIGINT/SIGTERM arrives. Returns the exit status:
// 0 after a normal close, 2 for a bad command line, 78 (EX_CONFIG) when a run
// without window meets settings it cannot serve with, and --check-config's.
int RunServer(int& argc, char** argv);

}  // namespace mts
