#include "server/status/ProcessStats.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace mts {
namespace {

// The number after "name" on the first line that starts with it.
std::optional<std::uint64_t> NumberAfter(const std::filesystem::path& file,
                                         const std::string& name) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(name, 0) != 0) continue;
    std::istringstream fields(line.substr(name.size()));
    std::uint64_t value = 0;
    if (fields >> value) return value;
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ResidentBytes(const ProcFiles& files) {
  const auto kilobytes = NumberAfter(files.self / "status", "VmRSS:");
  if (!kilobytes) return std::nullopt;
  return *kilobytes * 1024;
}

std::optional<std::uint64_t> OpenDescriptors(const ProcFiles& files) {
  std::error_code error;
  std::filesystem::directory_iterator entries(files.self / "fd", error);
  if (error) return std::nullopt;
  std::uint64_t count = 0;
  for (auto it = entries; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) return std::nullopt;
    ++count;
  }
  return count;
}

// The process's start in clock ticks since boot: the 22nd field of its stat
// file, counted after the command name, which is in parentheses and may
// itself hold blanks and parentheses.
std::optional<std::uint64_t> StartTicks(const ProcFiles& files) {
  std::ifstream in(files.self / "stat");
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  const std::size_t nameEnd = line.rfind(')');
  if (nameEnd == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(nameEnd + 1));
  std::string field;
  for (int number = 3; number < 22; ++number) {
    if (!(fields >> field)) return std::nullopt;
  }
  std::uint64_t ticks = 0;
  if (!(fields >> ticks)) return std::nullopt;
  return ticks;
}

std::optional<double> StartTime(const ProcFiles& files) {
  const auto bootTime = NumberAfter(files.systemStat, "btime ");
  const auto ticks = StartTicks(files);
  const long perSecond = files.ticksPerSecond > 0 ? files.ticksPerSecond : ::sysconf(_SC_CLK_TCK);
  if (!bootTime || !ticks || perSecond <= 0) return std::nullopt;
  return static_cast<double>(*bootTime) + static_cast<double>(*ticks) / perSecond;
}

}  // namespace

ProcessStats ReadProcessStats(const ProcFiles& files) {
  ProcessStats stats;
  stats.residentBytes = ResidentBytes(files);
  stats.openDescriptors = OpenDescriptors(files);
  stats.startTime = StartTime(files);
  return stats;
}

}  // namespace mts
