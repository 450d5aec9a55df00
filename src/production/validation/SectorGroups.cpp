#include "production/validation/SectorGroups.h"

#include <string_view>

namespace mts {

namespace {

std::string sqlSetoresAgrupadosText() {
  return sqlLines({"SELECT COD_SE, NOME_SE, SETOR_AGRUP_SE", "FROM SETOR S",
                   "WHERE S.SETOR_AGRUP_SE IS NOT NULL"});
}

std::string_view withoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

SectorGroups::SectorGroups(TVNClientDataSet& cdsSetor)
    : cdsSetor_(cdsSetor), sqlSetoresAgrupados(sqlSetoresAgrupadosText()) {}

void SectorGroups::DefinirConexao(db::Connection& connection) {
  sqlSetoresAgrupados.setConnection(&connection);
}

std::string SectorGroups::SetorAgrupamento(const std::string& setor) {
  if (!cdsSetor_.active() || !cdsSetor_.locate("COD_SE", db::Value(setor))) return {};
  return cdsSetor_.text("SETOR_AGRUP_SE");
}

bool SectorGroups::AbrirSetoresAgrupamento(const std::string& setor) {
  membros_.clear();
  if (setor.empty()) return false;
  if (!validando_ || !setores_) {
    sqlSetoresAgrupados.close();
    sqlSetoresAgrupados.open();
    setores_ = sqlSetoresAgrupados.rows();
    sqlSetoresAgrupados.close();
  }
  // The group's code compared as the database compares texts: trailing
  // blanks do not count.
  const std::string_view grupo = withoutTrailingBlanks(setor);
  for (const db::Row& membro : *setores_) {
    if (withoutTrailingBlanks(membro.text("SETOR_AGRUP_SE")) == grupo) membros_.push_back(membro);
  }
  return !membros_.empty();
}

std::vector<NamedStatement> SectorGroups::Statements() {
  return {{"SectorGroups.sqlSetoresAgrupados", sqlSetoresAgrupadosText()}};
}

}  // namespace mts
