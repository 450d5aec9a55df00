#pragma once

#include <string>

#include "production/lists/CachedLists.h"

namespace mts {

// Finds the employee behind a badge in the active-employee list. The lists are
// borrowed from the production module and must outlive the look-up.
class BadgeLookup {
 public:
  explicit BadgeLookup(CachedLists& lists) : lists_(lists) {}

  // Reopens the badge list, then finds the active employee whose badge is
  // exactly `cracha`. Found: true with his code, name and sector (empty when he
  // has none). Not found: false with the three outputs emptied.
  bool LocalizarFuncionario(const std::string& cracha, std::string& codigo, std::string& nome,
                            std::string& setor);

 private:
  CachedLists& lists_;
};

}  // namespace mts
