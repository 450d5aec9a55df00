#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace mts::db {

// A timestamp as the database stores it: no time zone, fraction in 1/10000 s.
// A DATE column reads with a zero time of day; a TIME column reads with year,
// month and day all 0. Sent as a parameter, a TIME position takes the time of
// day alone, and every other position refuses a value whose date is all 0.
struct Timestamp {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int fraction = 0;  // 0..9999, ten-thousandths of a second

  friend bool operator==(const Timestamp&, const Timestamp&) = default;
  friend auto operator<=>(const Timestamp&, const Timestamp&) = default;
};

// An exact decimal: unscaled * 10^-scale (scale >= 0), e.g. {12345, 2} is 123.45.
struct Decimal {
  std::int64_t unscaled = 0;
  int scale = 0;

  double toDouble() const;
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

struct Null {
  friend bool operator==(const Null&, const Null&) = default;
};

// One parameter or column value. Text is raw Windows-1252 bytes, never transcoded.
using Value =
    std::variant<Null, std::string, std::int32_t, std::int64_t, double, Decimal, Timestamp>;

}  // namespace mts::db
