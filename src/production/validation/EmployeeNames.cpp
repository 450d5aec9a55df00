#include "production/validation/EmployeeNames.h"

namespace mts {

namespace {

std::string sqlNomeFuncionarioText() {
  return sqlLines({"select F.NOME_FU", "from FUNCIONARIO F", "where F.CODIGO_FU = :CODIGO"});
}

}  // namespace

EmployeeNames::EmployeeNames() : sqlNomeFuncionario(sqlNomeFuncionarioText()) {}

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

std::vector<NamedStatement> EmployeeNames::Statements() {
  return {{"EmployeeNames.sqlNomeFuncionario", sqlNomeFuncionarioText()}};
}

}  // namespace mts
