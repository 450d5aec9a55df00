#include "production/lists/CachedLists.h"

#include "dataaccess/datasets/DatasetText.h"

namespace mts {

namespace {

std::vector<std::string> cdsSetorLines() {
  return {"select * from SETOR where SEQPROD_SE='S' order by ORDEM_SE"};
}

std::vector<std::string> cdsFuncLines() {
  return {"SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,",
          "(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE S.FUNCIONARIO_SF = "
          "F.CODIGO_FU) SETOR_FUNC",
          "FROM FUNCIONARIO F"};
}

}  // namespace

CachedLists::CachedLists() {
  cdsSetor.setSQL(cdsSetorLines());
  cdsFunc.setSQL(cdsFuncLines());
  cdsFunc.setIndexFieldNames("CODIGO_FU");
}

void CachedLists::DefinirConexao(db::Connection& connection) {
  for (TVNClientDataSet* list : {&cdsSetor, &cdsFunc}) {
    list->setSQLConnection(&connection);
  }
}

void CachedLists::ReabrirSetores() {
  // Cleared first: a reload that fails leaves nothing to reuse.
  setoresRecemCarregados_ = false;
  cdsSetor.close();
  cdsSetor.open();
}

void CachedLists::AtualizarCadastros() {
  ReabrirSetores();
  cdsFunc.close();
  cdsFunc.open();
  funcionariosDesatualizados_ = false;
}

void CachedLists::AtualizarParaFicha() {
  ReabrirSetores();
  setoresRecemCarregados_ = true;
  funcionariosDesatualizados_ = true;
}

void CachedLists::AtualizarSetoresParaValidacao() {
  if (setoresRecemCarregados_) {
    setoresRecemCarregados_ = false;
    return;
  }
  ReabrirSetores();
}

std::string CachedLists::NomeFuncionario(const std::string& codigo) {
  if (funcionariosDesatualizados_) {
    cdsFunc.close();
    cdsFunc.open();
    funcionariosDesatualizados_ = false;
  }
  // Closed only when the database failed at start-up and no refresh has
  // succeeded since: nobody is known yet.
  if (!cdsFunc.active() || !cdsFunc.findKey(db::Value(codigo))) return {};
  return cdsFunc.text("NOME_FU");
}

std::vector<NamedStatement> CachedLists::Statements() {
  return {{"CachedLists.cdsSetor", dataset_text::joinLines(cdsSetorLines())},
          {"CachedLists.cdsFunc", dataset_text::joinLines(cdsFuncLines())}};
}

}  // namespace mts
