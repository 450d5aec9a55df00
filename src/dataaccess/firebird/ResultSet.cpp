#include "dataaccess/firebird/ResultSet.h"

#include "routines/Windows1252Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>

#include "dataaccess/firebird/DatabaseError.h"
#include "dataaccess/firebird/SqlNames.h"

namespace mts::db {
namespace {

const std::vector<std::string>& noColumns() {
  static const std::vector<std::string> empty;
  return empty;
}

std::string decimalText(const Decimal& d) {
  std::string digits = std::to_string(d.unscaled < 0 ? -static_cast<unsigned long long>(d.unscaled)
                                                     : static_cast<unsigned long long>(d.unscaled));
  if (d.scale > 0) {
    if (digits.size() <= static_cast<std::size_t>(d.scale)) {
      digits.insert(0, static_cast<std::size_t>(d.scale) + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - static_cast<std::size_t>(d.scale), ".");
    // Trailing fraction zeros carry no meaning for a reader: 12.50 reads "12.5".
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
  }
  if (d.unscaled < 0 && digits != "0") digits.insert(0, "-");
  return digits;
}

std::string doubleText(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::string timestampText(const Timestamp& t) {
  char buffer[40];
  if (t.year == 0 && t.month == 0 && t.day == 0) {  // a time of day
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month, t.year,
                t.hour, t.minute, t.second);
  return buffer;
}

std::int64_t parseInteger(std::string_view column, const std::string& text) {
  const std::string_view digits = text::TrimWhitespace(text);
  std::int64_t value = 0;
  const char* first = digits.data();
  if (!digits.empty() && digits.front() == '+') ++first;
  const char* last = digits.data() + digits.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (digits.empty() || error != std::errc() || end != last) {
    throw DatabaseError("'" + text + "' is not a valid integer value for field '" +
                        std::string(column) + "'");
  }
  return value;
}

double parseNumber(std::string_view column, const std::string& text) {
  const std::string trimmed(text::TrimWhitespace(text));
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (trimmed.empty() || end != trimmed.c_str() + trimmed.size()) {
    throw DatabaseError("'" + text + "' is not a valid floating point value for field '" +
                        std::string(column) + "'");
  }
  return value;
}

std::int64_t truncated(std::string_view column, double value) {
  const double whole = std::trunc(value);
  if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0)) {
    throw DatabaseError("Value of field '" + std::string(column) + "' is out of integer range");
  }
  return static_cast<std::int64_t>(whole);
}

}  // namespace

Row::Row(std::shared_ptr<const std::vector<std::string>> columns, std::vector<Value> values)
    : columns_(std::move(columns)), values_(std::move(values)) {}

std::size_t Row::indexOf(std::string_view column) const {
  const std::string key = upperName(column);
  if (columns_) {
    for (std::size_t i = 0; i < columns_->size(); ++i) {
      if ((*columns_)[i] == key) return i;
    }
  }
  throw DatabaseError("Field '" + std::string(column) + "' not found");
}

bool Row::has(std::string_view column) const {
  if (!columns_) return false;
  const std::string key = upperName(column);
  for (const auto& name : *columns_) {
    if (name == key) return true;
  }
  return false;
}

const Value& Row::value(std::string_view column) const {
  return values_.at(indexOf(column));
}

bool Row::isNull(std::string_view column) const {
  return std::holds_alternative<Null>(value(column));
}

std::string Row::text(std::string_view column) const {
  return std::visit(
      [](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Null>) {
          return {};
        } else if constexpr (std::is_same_v<T, std::string>) {
          return v;
        } else if constexpr (std::is_same_v<T, double>) {
          return doubleText(v);
        } else if constexpr (std::is_same_v<T, Decimal>) {
          return decimalText(v);
        } else if constexpr (std::is_same_v<T, Timestamp>) {
          return timestampText(v);
        } else {
          return std::to_string(v);
        }
      },
      value(column));
}

std::int64_t Row::bigint(std::string_view column) const {
  return std::visit(
      [column](const auto& v) -> std::int64_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Null>) {
          return 0;
        } else if constexpr (std::is_same_v<T, std::string>) {
          return parseInteger(column, v);
        } else if constexpr (std::is_same_v<T, double>) {
          return truncated(column, v);
        } else if constexpr (std::is_same_v<T, Decimal>) {
          std::int64_t value = v.unscaled;
          for (int i = 0; i < v.scale; ++i) value /= 10;  // integer division truncates toward zero
          return value;
        } else if constexpr (std::is_same_v<T, Timestamp>) {
          throw DatabaseError("Field '" + std::string(column) + "' is a timestamp, not a number");
        } else {
          return v;
        }
      },
      value(column));
}

std::int32_t Row::integer(std::string_view column) const {
  const std::int64_t value = bigint(column);
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    throw DatabaseError("Value " + std::to_string(value) + " of field '" + std::string(column) +
                        "' is out of 32-bit integer range");
  }
  return static_cast<std::int32_t>(value);
}

double Row::number(std::string_view column) const {
  return std::visit(
      [column](const auto& v) -> double {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Null>) {
          return 0;
        } else if constexpr (std::is_same_v<T, std::string>) {
          return parseNumber(column, v);
        } else if constexpr (std::is_same_v<T, Decimal>) {
          return v.toDouble();
        } else if constexpr (std::is_same_v<T, Timestamp>) {
          throw DatabaseError("Field '" + std::string(column) + "' is a timestamp, not a number");
        } else {
          return static_cast<double>(v);
        }
      },
      value(column));
}

Timestamp Row::timestamp(std::string_view column) const {
  const Value& v = value(column);
  if (std::holds_alternative<Null>(v)) {
    throw DatabaseError("Field '" + std::string(column) + "' is null, not a timestamp");
  }
  if (const auto* t = std::get_if<Timestamp>(&v)) return *t;
  throw DatabaseError("Field '" + std::string(column) + "' is not a timestamp");
}

ResultSet::ResultSet(std::shared_ptr<const std::vector<std::string>> columns, std::vector<Row> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

const std::vector<std::string>& ResultSet::columns() const {
  return columns_ ? *columns_ : noColumns();
}

}  // namespace mts::db
