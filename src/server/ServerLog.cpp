#include "server/ServerLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <stdexcept>

namespace mts {

LocalTime CurrentLocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string FormatLogTime(const LocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

ServerLog::ServerLog(const std::filesystem::path& folder, LocalClock clock)
    : clock_(std::move(clock)) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  char name[32];
  std::snprintf(name, sizeof name, "server-log-%02d.log", clock_().day);
  fileName_ = folder / name;
}

void ServerLog::WriteLog(const std::string& message) {
  std::string line = FormatLogTime(clock_()) + " : " + message + "\n";
  std::ofstream file(fileName_, std::ios::binary | std::ios::app);
  if (file) file.write(line.data(), static_cast<std::streamsize>(line.size()));
  if (file) file.close();
  if (!file) {
    int error = errno;
    throw std::runtime_error("Erro ao gravar o log " + fileName_.string() + ": " +
                             std::strerror(error));
  }
}

}  // namespace mts
