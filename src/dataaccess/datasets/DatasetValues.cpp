#include "dataaccess/datasets/DatasetValues.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataaccess/firebird/ResultSet.h"

namespace mts::dataset_values {

namespace {

enum class Kind { Null, Number, Text, Timestamp };

Kind kindOf(const db::Value& v) {
  if (std::holds_alternative<db::Null>(v)) return Kind::Null;
  if (std::holds_alternative<std::string>(v)) return Kind::Text;
  if (std::holds_alternative<db::Timestamp>(v)) return Kind::Timestamp;
  return Kind::Number;
}

std::optional<std::int64_t> asInteger(const db::Value& v) {
  if (auto i = std::get_if<std::int32_t>(&v)) return *i;
  if (auto i = std::get_if<std::int64_t>(&v)) return *i;
  if (auto d = std::get_if<db::Decimal>(&v); d && d->scale == 0) return d->unscaled;
  return std::nullopt;
}

double asDouble(const db::Value& v) {
  if (auto i = asInteger(v)) return static_cast<double>(*i);
  if (auto d = std::get_if<double>(&v)) return *d;
  return std::get<db::Decimal>(v).toDouble();
}

template <typename T>
int threeWay(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int compareNumbers(const db::Value& a, const db::Value& b) {
  auto ia = asInteger(a);
  auto ib = asInteger(b);
  if (ia && ib) return threeWay(*ia, *ib);
  return threeWay(asDouble(a), asDouble(b));
}

// The key as the row readers would show it, e.g. 12 as "12".
std::string asText(const db::Value& key) {
  static const auto columns = std::make_shared<const std::vector<std::string>>(1, "K");
  return db::Row(columns, {key}).text("K");
}

std::optional<db::Value> asNumber(const std::string& text) {
  std::int64_t integer = 0;
  const char* end = text.data() + text.size();
  auto [ip, iec] = std::from_chars(text.data(), end, integer);
  if (iec == std::errc() && ip == end && !text.empty()) return db::Value(integer);
  double real = 0;
  auto [dp, dec] = std::from_chars(text.data(), end, real);
  if (dec == std::errc() && dp == end && !text.empty()) return db::Value(real);
  return std::nullopt;
}

}  // namespace

int compare(const db::Value& a, const db::Value& b) {
  Kind ka = kindOf(a);
  Kind kb = kindOf(b);
  if (ka != kb) return threeWay(static_cast<int>(ka), static_cast<int>(kb));
  switch (ka) {
    case Kind::Null:
      return 0;
    case Kind::Number:
      return compareNumbers(a, b);
    case Kind::Text:
      return threeWay(std::get<std::string>(a).compare(std::get<std::string>(b)), 0);
    case Kind::Timestamp:
      return threeWay(std::get<db::Timestamp>(a), std::get<db::Timestamp>(b));
  }
  return 0;
}

bool matchesKey(const db::Value& field, const db::Value& key) {
  Kind kf = kindOf(field);
  Kind kk = kindOf(key);
  if (kf == Kind::Null || kk == Kind::Null) return kf == kk;
  if (kf == kk) return compare(field, key) == 0;
  if (kf == Kind::Number && kk == Kind::Text) {
    auto number = asNumber(std::get<std::string>(key));
    return number && compareNumbers(field, *number) == 0;
  }
  if (kf == Kind::Text) return std::get<std::string>(field) == asText(key);
  if (kf == Kind::Timestamp && kk == Kind::Text) return asText(field) == std::get<std::string>(key);
  return false;
}

}  // namespace mts::dataset_values
