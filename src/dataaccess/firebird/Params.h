#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dataaccess/firebird/Value.h"

namespace mts::db {

// Named statement parameters. Names are matched without regard to letter case
// ("COD_SE" and ":cod_se" in the statement are the same parameter). Setting a name
// twice keeps the last value. A parameter that the statement names but that was
// never set is an error when the statement runs.
class Params {
 public:
  Params() = default;
  Params(std::initializer_list<std::pair<std::string, Value>> values);

  Params& set(std::string_view name, Value value);
  Params& setNull(std::string_view name) { return set(name, Null{}); }

  // nullptr when the name was never set.
  const Value* find(std::string_view name) const;
  bool empty() const { return values_.empty(); }

 private:
  std::vector<std::pair<std::string, Value>> values_;  // names kept in upper case
};

}  // namespace mts::db
