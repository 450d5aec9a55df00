#include "production/identification/BadgeLookup.h"

namespace mts {

bool BadgeLookup::LocalizarFuncionario(const std::string& cracha, std::string& codigo,
                                       std::string& nome, std::string& setor) {
  // Reopened at every badge so that changes made in the office since the last
  // card are seen at once.
  TVNClientDataSet& cdsFuncCracha = lists_.cdsFuncCracha;
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

}  // namespace mts
