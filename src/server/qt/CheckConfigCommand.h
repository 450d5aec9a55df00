#pragma once

#include <cstdio>
#include <filesystem>

namespace mts {

// mtserver --check-config: writes every problem of the settings file, one
// line each as UTF-8, then a line summing up ("no problems" when none).
// Returns the exit status: 0 without problems, 1 with warnings only, and
// EX_CONFIG (78) when a server without window would refuse to start, as it
// does with that status.
int CheckConfigCommand(const std::filesystem::path& iniFile, std::FILE* output);

}  // namespace mts
