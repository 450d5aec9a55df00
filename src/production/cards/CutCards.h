#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"
#include "production/TDadosAtuProducao.h"

namespace mts {

// Cut cards of the cutting room: each is posted once per sector, as one
// FICHA_CORTE_ATU_SETOR row. The connection is borrowed and must outlive this.
class CutCards {
 public:
  CutCards();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // True when the cut card exists, is not posted in the sector yet and is not
  // cancelled; sqlFichaCorte stays open on its row (QTDE_TOT_FC).
  bool VerificarFichaCorte(std::int32_t id, const std::string& setor, std::string& mensagem);
  // Writes the FICHA_CORTE_ATU_SETOR row of the request, committed on its own.
  void GravarFichaCorteAtuSetor(const TDadosAtuProducao& dados, const db::Timestamp& dataHora);

  // The cut card found by the last VerificarFichaCorte.
  const ModuleQuery& FichaCorte() const { return sqlFichaCorte; }

 private:
  ModuleQuery sqlFichaCorte;
  ModuleQuery sqlFichaCorteAtu;
};

}  // namespace mts
