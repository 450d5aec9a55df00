#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace mts {

// A moment on the local clock, broken down as the log line shows it.
struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;   // 0 to 23
  int minute = 0;
  int second = 0;
};

using LocalClock = std::function<LocalTime()>;

// The machine's local time, now.
LocalTime CurrentLocalTime();

// "yyyy-mm-dd hh:nn:ss"
std::string FormatLogTime(const LocalTime& time);

// The server's daily log file: "server-log-DD.log" in the log folder, DD being
// the day of the month at start-up. The name never changes afterwards, so a
// server running past midnight keeps its file, and a month later the same file
// is appended to.
class ServerLog {
 public:
  // Fixes the file name from the clock and creates the folder (with any
  // missing parents). A folder that cannot be created is not an error here:
  // the first WriteLog reports it.
  ServerLog(const std::filesystem::path& folder, LocalClock clock = CurrentLocalTime);

  const std::filesystem::path& fileName() const { return fileName_; }

  // Appends "yyyy-mm-dd hh:nn:ss : message\n"; the file is opened and closed
  // for every line. The message bytes are written as they are (Windows-1252).
  // Throws std::runtime_error when the file cannot be written.
  void WriteLog(const std::string& message);

 private:
  LocalClock clock_;
  std::filesystem::path fileName_;
};

}  // namespace mts
