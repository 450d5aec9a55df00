#pragma once

#include <optional>
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
  // True when the code heads a group; the members (COD_SE, NOME_SE) then stay
  // in Membros() in the database's order. An empty code heads no group.
  bool AbrirSetoresAgrupamento(const std::string& setor);
  const std::vector<db::Row>& Membros() const { return membros_; }

  // One card's checks ask about several groups (the sector's own, each
  // earlier sector's): while a ValidationScope lives, every sector's group is
  // read once, at the first question, and answers them all; outside one,
  // each question reads them again.
  class ValidationScope {
   public:
    explicit ValidationScope(SectorGroups& grupos) : grupos_(grupos) {
      grupos_.validando_ = true;
      grupos_.setores_.reset();
    }
    ~ValidationScope() {
      grupos_.validando_ = false;
      grupos_.setores_.reset();
    }
    ValidationScope(const ValidationScope&) = delete;
    ValidationScope& operator=(const ValidationScope&) = delete;

   private:
    SectorGroups& grupos_;
  };

 private:
  TVNClientDataSet& cdsSetor_;
  ModuleQuery sqlSetoresAgrupados;
  bool validando_ = false;
  std::optional<db::ResultSet> setores_;  // every sector that belongs to a group
  std::vector<db::Row> membros_;
};

}  // namespace mts
