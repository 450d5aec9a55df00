#pragma once

#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"

namespace mts {

// The database server's clock: every posting is dated by the server, never by
// the machine this program runs on.
//
// The connection is borrowed (DefinirConexao) and must outlive this object.
class ServerClock {
 public:
  ServerClock();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // The server's current time; the zero timestamp when CONFIG has no row.
  db::Timestamp DataHoraServidor();

 private:
  ModuleQuery sqlDataHora_Servidor;
};

}  // namespace mts
