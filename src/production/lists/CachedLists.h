#pragma once

#include <string>

#include "dataaccess/firebird/Connection.h"
#include "dataaccess/datasets/VNClientDataSet.h"

namespace mts {

// The sector and employee lists the production module keeps in memory and
// reloads whenever it needs to see the database as it is now. The connection
// is borrowed and must outlive the lists.
class CachedLists {
 public:
  CachedLists();

  void DefinirConexao(db::Connection& connection);

  // Reopens cdsSetor, cdsFuncCracha and cdsFunc, in that order.
  void AtualizarCadastros();
  // Name of the employee with that code, active or not; empty when none. Uses
  // the list as of the last AtualizarCadastros.
  std::string NomeFuncionario(const std::string& codigo);

  TVNClientDataSet cdsSetor;       // production-sequence sectors, by ORDEM_SE
  TVNClientDataSet cdsFuncCracha;  // active employees with a badge, index CRACHA_FU
  TVNClientDataSet cdsFunc;        // every employee, index CODIGO_FU
};

}  // namespace mts
