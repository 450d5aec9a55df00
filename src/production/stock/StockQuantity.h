#pragma once

#include <compare>
#include <cstdint>

#include "dataaccess/Value.h"

namespace mts {

// Rounds to `decimals` places (0 to 15), halves away from zero, after reading
// value x 10^decimals back from its 15-significant-digit text, so that binary
// noise such as 267.49999999999997 counts as the 267.5 it stands for. The
// result is exact. Throws std::out_of_range when it does not fit 18 digits.
db::Decimal Arredondar(double value, int decimals);

// A quantity of pairs held exactly to 8 decimals, the precision stock
// quantities are rounded to: sums, differences and comparisons never drift.
class StockQuantity {
 public:
  static constexpr int kDecimals = 8;

  constexpr StockQuantity() = default;
  static constexpr StockQuantity fromUnits(std::int64_t units) { return StockQuantity(units); }
  static StockQuantity fromDouble(double value);
  // Integers and exact decimals convert exactly (more than 8 decimals are
  // rounded as Arredondar does), doubles through Arredondar, null as 0.
  // Throws std::invalid_argument for text and timestamps.
  static StockQuantity fromValue(const db::Value& value);

  std::int64_t units() const { return units_; }
  db::Decimal toDecimal() const { return {units_, kDecimals}; }
  double toDouble() const;

  friend StockQuantity operator+(StockQuantity a, StockQuantity b) {
    return StockQuantity(a.units_ + b.units_);
  }
  friend StockQuantity operator-(StockQuantity a, StockQuantity b) {
    return StockQuantity(a.units_ - b.units_);
  }
  friend auto operator<=>(StockQuantity, StockQuantity) = default;

 private:
  constexpr explicit StockQuantity(std::int64_t units) : units_(units) {}
  std::int64_t units_ = 0;
};

}  // namespace mts
