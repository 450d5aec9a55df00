#pragma once

#include <filesystem>

#include "server/status/StatusSnapshot.h"

namespace mts {

// Where the process figures are read: the process's folder and the system's
// stat file of a proc file system, and the clock ticks per second its times
// count in (0: the system's).
struct ProcFiles {
  std::filesystem::path self = "/proc/self";
  std::filesystem::path systemStat = "/proc/stat";
  long ticksPerSecond = 0;
};

// The process's resident memory (VmRSS of its status file), its open
// descriptors (the entries of its fd folder) and its start time (the boot
// time of the system's stat file plus the start of its stat file). A figure
// whose file cannot be read or understood is left absent; nothing throws.
ProcessStats ReadProcessStats(const ProcFiles& files = {});

}  // namespace mts
