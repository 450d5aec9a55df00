#include "dataaccess/firebird/Params.h"

#include "dataaccess/firebird/SqlNames.h"

namespace mts::db {

Params::Params(std::initializer_list<std::pair<std::string, Value>> values) {
  for (const auto& [name, value] : values) set(name, value);
}

Params& Params::set(std::string_view name, Value value) {
  std::string key = upperName(name);
  for (auto& entry : values_) {
    if (entry.first == key) {
      entry.second = std::move(value);
      return *this;
    }
  }
  values_.emplace_back(std::move(key), std::move(value));
  return *this;
}

const Value* Params::find(std::string_view name) const {
  const std::string key = upperName(name);
  for (const auto& entry : values_) {
    if (entry.first == key) return &entry.second;
  }
  return nullptr;
}

}  // namespace mts::db
