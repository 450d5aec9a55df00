#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"

namespace mts {

// Finds the active employee behind a badge, read by key at each badge so that
// changes made in the office are seen at once whatever the size of the staff.
// The connection is borrowed and must outlive the look-up.
class BadgeLookup {
 public:
  BadgeLookup();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // Finds the active employee whose badge is exactly `cracha` (byte for byte:
  // trailing blanks and letter case count). Found: true with his code, name and
  // sector (empty when he has none). Not found: false with the three outputs
  // emptied. When several share the badge, one of them is given whole.
  bool LocalizarFuncionario(const std::string& cracha, std::string& codigo, std::string& nome,
                            std::string& setor);

 private:
  ModuleQuery sqlFuncCracha;
};

}  // namespace mts
