#pragma once

#include <string>
#include <string_view>

namespace mts::db {

// Parameter and column names compare without regard to letter case. Only ASCII
// letters fold: the bytes of other Windows-1252 letters are kept as they are,
// the way the database folds unquoted identifiers.
std::string upperName(std::string_view name);

}  // namespace mts::db
