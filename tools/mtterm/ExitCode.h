#pragma once

namespace mts::termsim {

// mtterm's exit status, as documented in its --help.
enum ExitCode : int {
  kExitOk = 0,
  kExitConnectFailed = 1,
  kExitUsage = 2,
  kExitTimeout = 3,
  kExitConnectionLost = 4,
};

}  // namespace mts::termsim
