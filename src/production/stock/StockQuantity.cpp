#include "production/stock/StockQuantity.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <variant>

namespace mts {

namespace {

constexpr int kMaxDigits = 18;

std::int64_t powerOfTen(int exponent) {
  std::int64_t result = 1;
  for (int i = 0; i < exponent; ++i) result *= 10;
  return result;
}

// Rounds digits x 10^exponent (digits a plain decimal integer text) to an
// integer, halves away from zero.
std::int64_t roundScientific(const std::string& digits, int exponent, bool negative) {
  std::string integerDigits;
  char firstDropped = '0';
  if (exponent >= 0) {
    integerDigits = digits + std::string(static_cast<std::size_t>(exponent), '0');
  } else {
    const auto dropped = static_cast<std::size_t>(-exponent);
    if (dropped < digits.size()) {
      integerDigits = digits.substr(0, digits.size() - dropped);
      firstDropped = digits[digits.size() - dropped];
    } else if (dropped == digits.size()) {
      firstDropped = digits[0];
    }
  }
  const std::size_t start = integerDigits.find_first_not_of('0');
  integerDigits = start == std::string::npos ? "" : integerDigits.substr(start);
  if (integerDigits.size() > kMaxDigits) throw std::out_of_range("quantity too large: " + digits);
  std::int64_t result = integerDigits.empty() ? 0 : std::stoll(integerDigits);
  if (firstDropped >= '5') ++result;
  return negative ? -result : result;
}

}  // namespace

db::Decimal Arredondar(double value, int decimals) {
  if (decimals < 0 || decimals > 15) throw std::out_of_range("decimals out of range");
  char text[64];
  // "d.dddddddddddddde+XX": the 15 significant digits the value stands for,
  // then rounded exactly from that text.
  std::snprintf(text, sizeof text, "%.14e", value * static_cast<double>(powerOfTen(decimals)));
  std::string scientific(text);
  const bool negative = scientific[0] == '-';
  if (negative) scientific.erase(0, 1);
  if (scientific.find_first_not_of("0123456789.e+-") != std::string::npos) {
    throw std::out_of_range("not a finite quantity: " + scientific);
  }
  const std::size_t e = scientific.find('e');
  std::string digits = scientific.substr(0, e);
  digits.erase(1, 1);  // the decimal point after the first digit
  const int exponent = std::stoi(scientific.substr(e + 1)) - static_cast<int>(digits.size() - 1);
  return {roundScientific(digits, exponent, negative), decimals};
}

StockQuantity StockQuantity::fromDouble(double value) {
  return StockQuantity(Arredondar(value, kDecimals).unscaled);
}

StockQuantity StockQuantity::fromValue(const db::Value& value) {
  if (std::holds_alternative<db::Null>(value)) return {};
  if (const auto* small = std::get_if<std::int32_t>(&value)) {
    return StockQuantity(*small * powerOfTen(kDecimals));
  }
  if (const auto* big = std::get_if<std::int64_t>(&value)) {
    return StockQuantity(*big * powerOfTen(kDecimals));
  }
  if (const auto* decimal = std::get_if<db::Decimal>(&value)) {
    if (decimal->scale <= kDecimals) {
      return StockQuantity(decimal->unscaled * powerOfTen(kDecimals - decimal->scale));
    }
    const std::int64_t divisor = powerOfTen(decimal->scale - kDecimals);
    std::int64_t units = decimal->unscaled / divisor;
    const std::int64_t rest = decimal->unscaled % divisor;
    if (2 * rest >= divisor) ++units;
    if (2 * rest <= -divisor) --units;
    return StockQuantity(units);
  }
  if (const auto* number = std::get_if<double>(&value)) return fromDouble(*number);
  throw std::invalid_argument("not a quantity");
}

double StockQuantity::toDouble() const {
  return static_cast<double>(units_) / static_cast<double>(powerOfTen(kDecimals));
}

}  // namespace mts
