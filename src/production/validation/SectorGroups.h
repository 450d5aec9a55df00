#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"

namespace mts {

// Groupings of sectors: a sector names in SETOR_AGRUP_SE the grouping sector it
// belongs to, and the sectors naming a grouping sector are its members.
//
// The cached sectors (cdsSetor, moved by SetorAgrupamento) and the connection
// (DefinirConexao) are borrowed and must outlive this object.
class SectorGroups {
 public:
  explicit SectorGroups(TVNClientDataSet& cdsSetor);
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // The grouping sector of a production-sequence sector; empty when it has
  // none or is not in the sequence.
  std::string SetorAgrupamento(const std::string& setor);
  // True when the code heads a group; the members (COD_SE) then stay in
  // Membros() in the database's order. An empty code opens nothing.
  bool AbrirSetoresAgrupamento(const std::string& setor);
  const db::ResultSet& Membros() const { return sqlSetorAgrupamento.rows(); }

 private:
  TVNClientDataSet& cdsSetor_;
  ModuleQuery sqlSetorAgrupamento;
};

}  // namespace mts
