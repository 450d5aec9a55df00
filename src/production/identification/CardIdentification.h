#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "production/ProductionParameters.h"
#include "production/TDadosAtuProducao.h"
#include "production/cards/CutCards.h"
#include "production/lists/CachedLists.h"
#include "production/parameters/ParameterReader.h"

namespace mts {

// Turns a code typed or scanned at the card prompt into a request of the
// right card kind. Owns the look-ups of the card kinds found by number (box
// labels, sub-production labels, operation-by-sector cards), each left open on
// the row found for later steps to read.
//
// Everything passed to the constructor belongs to the production module and
// must outlive this object; the parameters are read at each use, so a reload
// takes effect at the next card.
class CardIdentification {
 public:
  CardIdentification(const ProductionParameters& parametros, ParameterReader& parametrosDb,
                     CachedLists& lists, CutCards& cutCards);
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // Fills the card members of `dados` (Setor to FichaCorte; the others are left
  // alone) and returns true, or returns false with `mensagem` set; `dados` then
  // holds what was filled before the refusal. `setorFuncionario` is the sector
  // of the employee at the terminal, used when the code names none.
  bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem);
  // True when the sector is listed in SETOR_BX_FICHA_CORTE.
  bool SetorBaixaFichaCorte(const std::string& setor) const;
  // Box label (CODCXCOLET) look-up; sqlCodCxCol stays open on the row found.
  bool LocalizarCodCxColet(std::int32_t codigo, std::string& mensagem);
  // Sub-production label (SUBPROD) look-up; sqlCodSubProd stays open on it.
  bool LocalizarSubProd(std::int32_t id, std::string& mensagem);
  // Operation-by-sector card (PRODUCAO_OP_SETOR) look-up; sqlProdOpSetor stays
  // open on it.
  bool LocalizarFichaOpSetor(std::int32_t id, std::string& mensagem);

  // The rows found by the last look-ups, for the checks that follow.
  const ModuleQuery& CodCxCol() const { return sqlCodCxCol; }
  const ModuleQuery& CodSubProd() const { return sqlCodSubProd; }
  const ModuleQuery& ProdOpSetor() const { return sqlProdOpSetor; }

 private:
  bool CompletarDados(TDadosAtuProducao& dados, const std::string& setorFuncionario,
                      std::string& mensagem);
  bool IdentificarPeloFormato(const std::string& codigo, const std::string& setorFuncionario,
                              TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarFichaCorte(const std::string& codigo, const std::string& setorFuncionario,
                             TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarFichaOpSetor(const std::string& codigo, const std::string& setorFuncionario,
                               TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarTalao(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarSubProd(const std::string& codigo, const std::string& setorFuncionario,
                          TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarFichaProducao(const std::string& codigo, const std::string& setorFuncionario,
                                TDadosAtuProducao& dados, std::string& mensagem);

  const ProductionParameters& parametros_;
  ParameterReader& parametrosDb_;
  CachedLists& lists_;
  CutCards& cutCards_;

  ModuleQuery sqlCodCxCol;
  ModuleQuery sqlCodSubProd;
  ModuleQuery sqlProdOpSetor;
};

}  // namespace mts
