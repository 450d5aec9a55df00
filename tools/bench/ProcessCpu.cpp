#include "ProcessCpu.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace mts::bench {

std::chrono::microseconds processCpuTime(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(file, stat)) return {};
  // The command name may hold spaces: the fields are counted after its ')'.
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return {};
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  long long userTicks = 0, systemTicks = 0;
  // Fields 3 to 13 come before utime (14) and stime (15).
  for (int skipped = 3; skipped <= 13; ++skipped) fields >> field;
  fields >> userTicks >> systemTicks;
  const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
  return std::chrono::microseconds((userTicks + systemTicks) * 1'000'000 / ticksPerSecond);
}

CpuSpent cpuSpentSoFar(pid_t program, pid_t database) {
  return {processCpuTime(program), processCpuTime(database)};
}

CpuFigures perCard(const CpuSpent& spent, int cards) {
  if (cards <= 0) return {};
  const auto msPerCard = [cards](std::chrono::microseconds time) {
    return static_cast<double>(time.count()) / 1000.0 / cards;
  };
  return {msPerCard(spent.program), msPerCard(spent.database)};
}

}  // namespace mts::bench
