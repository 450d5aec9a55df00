#include "production/ParameterConversion.h"

#include <cstddef>
#include <optional>

namespace mts {

namespace {

std::optional<int> digitValue(char c, bool hexadecimal) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hexadecimal) return std::nullopt;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// Consumes the hexadecimal prefix at pos, if there is one.
bool skipHexPrefix(std::string_view text, std::size_t& pos) {
  if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
    ++pos;
    return true;
  }
  if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    pos += 2;
    return true;
  }
  return false;
}

}  // namespace

bool flagFromText(std::string_view text) {
  return text == "S";
}

std::int32_t integerFromText(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;

  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const bool hexadecimal = skipHexPrefix(text, pos);

  // Decimal values are limited to the signed range (one more for a minus sign);
  // hexadecimal ones take all 32 bits, so "$FFFFFFFF" is -1.
  const std::int64_t limit = hexadecimal ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
  const int base = hexadecimal ? 16 : 10;

  std::int64_t value = 0;
  bool anyDigit = false;
  while (pos < text.size()) {
    const std::optional<int> digit = digitValue(text[pos], hexadecimal);
    if (!digit) break;
    value = value * base + *digit;
    if (value > limit) return 0;
    anyDigit = true;
    ++pos;
  }

  const bool wholeTextConverted = anyDigit && pos == text.size();
  if (hexadecimal) {
    const auto bits = static_cast<std::uint32_t>(value);
    const auto asSigned = static_cast<std::int32_t>(bits);
    return (negative && wholeTextConverted) ? static_cast<std::int32_t>(0u - bits) : asSigned;
  }
  if (negative && wholeTextConverted) return static_cast<std::int32_t>(-value);
  // A minus that does not count leaves 2147483648 out of range.
  return value > 2147483647LL ? 0 : static_cast<std::int32_t>(value);
}

}  // namespace mts
