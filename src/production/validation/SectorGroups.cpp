#include "production/validation/SectorGroups.h"

namespace mts {

namespace {

std::string sqlSetorAgrupamentoText() {
  return sqlLines({"SELECT COD_SE", "FROM SETOR S", "WHERE S.SETOR_AGRUP_SE = :SETOR"});
}

}  // namespace

SectorGroups::SectorGroups(TVNClientDataSet& cdsSetor)
    : cdsSetor_(cdsSetor), sqlSetorAgrupamento(sqlSetorAgrupamentoText()) {}

void SectorGroups::DefinirConexao(db::Connection& connection) {
  sqlSetorAgrupamento.setConnection(&connection);
}

std::string SectorGroups::SetorAgrupamento(const std::string& setor) {
  if (!cdsSetor_.active() || !cdsSetor_.locate("COD_SE", db::Value(setor))) return {};
  return cdsSetor_.text("SETOR_AGRUP_SE");
}

bool SectorGroups::AbrirSetoresAgrupamento(const std::string& setor) {
  if (setor.empty()) return false;
  sqlSetorAgrupamento.close();
  sqlSetorAgrupamento.params().set("SETOR", setor);
  sqlSetorAgrupamento.open();
  return !sqlSetorAgrupamento.isEmpty();
}

std::vector<NamedStatement> SectorGroups::Statements() {
  return {{"SectorGroups.sqlSetorAgrupamento", sqlSetorAgrupamentoText()}};
}

}  // namespace mts
