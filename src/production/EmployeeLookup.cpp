#include <string>

#include "production/TdmAtuProducao.h"

// Employees by badge (active, with a badge) and by code (everyone).

namespace mts {

bool TdmAtuProducao::LocalizarFuncionario(const std::string& cracha, std::string& codigo,
                                          std::string& nome, std::string& setor) {
  // Reopened at every badge so that changes made in the office since the last
  // card are seen at once.
  cdsFuncCracha.close();
  cdsFuncCracha.open();
  if (!cdsFuncCracha.findKey(db::Value(cracha))) {
    codigo.clear();
    nome.clear();
    setor.clear();
    return false;
  }
  const db::Row& funcionario = cdsFuncCracha.currentRow();
  codigo = funcionario.text("CODIGO_FU");
  nome = funcionario.text("NOME_FU");
  setor = funcionario.text("SETOR_FUNC");
  return true;
}

std::string TdmAtuProducao::NomeFuncionario(const std::string& codigo) {
  // Closed only when the database failed at start-up and no card has been
  // identified since: nobody is known yet.
  if (!cdsFunc.active() || !cdsFunc.findKey(db::Value(codigo))) return {};
  return cdsFunc.text("NOME_FU");
}

}  // namespace mts
