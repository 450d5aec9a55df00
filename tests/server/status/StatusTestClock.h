#pragma once

#include <chrono>
#include <ctime>

#include "server/status/StatusSnapshot.h"

namespace mts::test {

// A moment given as local calendar fields, so tests about "today" hold in any
// time zone.
inline StatusTime LocalMoment(int year, int month, int day, int hour, int minute, int second = 0) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

// A clock the test moves by hand.
struct ManualClock {
  StatusTime now = LocalMoment(2026, 3, 5, 10, 0);
  StatusTime operator()() const { return now; }
};

}  // namespace mts::test
