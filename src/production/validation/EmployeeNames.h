#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"

namespace mts {

// Employee names read by code straight from FUNCIONARIO, one keyed read per
// name: each answer is the database's as it is now, whatever the size of the
// staff, without reloading the employee lists.
//
// The connection is borrowed (DefinirConexao) and must outlive this object.
class EmployeeNames {
 public:
  EmployeeNames();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // NOME_FU of the employee with that code, active or not; empty when none.
  std::string NomeFuncionario(const std::string& codigo);

 private:
  ModuleQuery sqlNomeFuncionario;
};

}  // namespace mts
