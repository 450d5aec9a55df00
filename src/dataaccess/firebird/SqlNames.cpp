#include "dataaccess/firebird/SqlNames.h"

namespace mts::db {

std::string upperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace mts::db
