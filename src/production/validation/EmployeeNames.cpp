#include "production/validation/EmployeeNames.h"

namespace mts {

EmployeeNames::EmployeeNames()
    : sqlNomeFuncionario(
          sqlLines({"select F.NOME_FU", "from FUNCIONARIO F", "where F.CODIGO_FU = :CODIGO"})) {}

void EmployeeNames::DefinirConexao(db::Connection& connection) {
  sqlNomeFuncionario.setConnection(&connection);
}

std::string EmployeeNames::NomeFuncionario(const std::string& codigo) {
  sqlNomeFuncionario.close();
  sqlNomeFuncionario.params().set("CODIGO", codigo);
  sqlNomeFuncionario.open();
  std::string nome =
      sqlNomeFuncionario.isEmpty() ? std::string() : sqlNomeFuncionario.row().text("NOME_FU");
  sqlNomeFuncionario.close();
  return nome;
}

}  // namespace mts
