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

// The server's daily log: each line goes to "server-log-DD.log" in the log
// folder, DD being the day of the month the line is written, so a server
// running past midnight moves to the next day's file. A file last used in an
// earlier month (its first line is dated another day than today) is started
// afresh by today's first line instead of being appended to.
class ServerLog {
 public:
  // Creates the folder (with any missing parents). A folder that cannot be
  // created is not an error here: the first WriteLog reports it.
  ServerLog(const std::filesystem::path& folder, LocalClock clock = CurrentLocalTime);

  // The file today's lines go to.
  std::filesystem::path fileName() const;

  // Appends "yyyy-mm-dd hh:nn:ss : message\n" to the file of the moment; the
  // file is opened and closed for every line. The message bytes are written
  // as they are (Windows-1252). Throws std::runtime_error when the file
  // cannot be written.
  void WriteLog(const std::string& message);

  // For a file moved away or deleted (log rotation): creates the folder again
  // if it went, and checks the next file written afresh, as at start-up.
  void Reopen();

 private:
  std::filesystem::path FileFor(const LocalTime& time) const;

  std::filesystem::path folder_;
  LocalClock clock_;
  // The day ("yyyy-mm-dd") of the last line written: its file needs no
  // check before the next line of the same day.
  std::string checkedDate_;
};

}  // namespace mts
