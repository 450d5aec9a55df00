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

namespace {

// True when the file exists and its first line is not dated today: it was
// last used on this day of an earlier month (or is not a log of ours).
bool LeftFromAnotherDay(const std::filesystem::path& file, const LocalTime& today) {
  std::ifstream existing(file, std::ios::binary);
  if (!existing) return false;
  const std::string date = FormatLogTime(today).substr(0, 10);
  std::string firstDate(date.size(), '\0');
  existing.read(firstDate.data(), static_cast<std::streamsize>(firstDate.size()));
  if (existing.gcount() == 0) return false;
  return firstDate != date;
}

}  // namespace

ServerLog::ServerLog(const std::filesystem::path& folder, LocalClock clock)
    : folder_(folder), clock_(std::move(clock)) {
  std::error_code ignored;
  std::filesystem::create_directories(folder_, ignored);
}

std::filesystem::path ServerLog::fileName() const {
  return FileFor(clock_());
}

std::filesystem::path ServerLog::FileFor(const LocalTime& time) const {
  char name[32];
  std::snprintf(name, sizeof name, "server-log-%02d.log", time.day);
  return folder_ / name;
}

void ServerLog::WriteLog(const std::string& message) {
  const LocalTime now = clock_();
  const std::filesystem::path fileName = FileFor(now);
  const std::string stamp = FormatLogTime(now);
  const std::string date = stamp.substr(0, 10);
  const bool afresh = date != checkedDate_ && LeftFromAnotherDay(fileName, now);
  const std::string line = stamp + " : " + message + "\n";
  std::ofstream file(fileName, std::ios::binary | (afresh ? std::ios::trunc : std::ios::app));
  if (file) file.write(line.data(), static_cast<std::streamsize>(line.size()));
  if (file) file.close();
  if (!file) {
    int error = errno;
    checkedDate_.clear();
    throw std::runtime_error("Erro ao gravar o log " + fileName.string() + ": " +
                             std::strerror(error));
  }
  checkedDate_ = date;
}

void ServerLog::Reopen() {
  std::error_code ignored;
  std::filesystem::create_directories(folder_, ignored);
  checkedDate_.clear();
}

}  // namespace mts
