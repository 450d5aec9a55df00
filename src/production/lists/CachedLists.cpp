#include "production/lists/CachedLists.h"

namespace mts {

CachedLists::CachedLists() {
  cdsSetor.setSQL({"select * from SETOR where SEQPROD_SE='S' order by ORDEM_SE"});
  cdsFuncCracha.setSQL({"SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,",
                        "(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE "
                        "S.FUNCIONARIO_SF = F.CODIGO_FU) SETOR_FUNC",
                        "FROM FUNCIONARIO F WHERE F.CRACHA_FU <> '' AND F.ATIVO_FU = 'S'"});
  cdsFuncCracha.setIndexFieldNames("CRACHA_FU");
  cdsFunc.setSQL({"SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,",
                  "(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE S.FUNCIONARIO_SF = "
                  "F.CODIGO_FU) SETOR_FUNC",
                  "FROM FUNCIONARIO F"});
  cdsFunc.setIndexFieldNames("CODIGO_FU");
}

void CachedLists::DefinirConexao(db::Connection& connection) {
  for (TVNClientDataSet* list : {&cdsSetor, &cdsFuncCracha, &cdsFunc}) {
    list->setSQLConnection(&connection);
  }
}

void CachedLists::AtualizarCadastros() {
  cdsSetor.close();
  cdsSetor.open();
  cdsFuncCracha.close();
  cdsFuncCracha.open();
  cdsFunc.close();
  cdsFunc.open();
}

std::string CachedLists::NomeFuncionario(const std::string& codigo) {
  // Closed only when the database failed at start-up and no card has been
  // identified since: nobody is known yet.
  if (!cdsFunc.active() || !cdsFunc.findKey(db::Value(codigo))) return {};
  return cdsFunc.text("NOME_FU");
}

}  // namespace mts
