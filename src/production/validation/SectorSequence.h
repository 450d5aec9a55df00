#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"
#include "production/TDadosAtuProducao.h"
#include "production/validation/CardPostings.h"
#include "production/validation/SectorGroups.h"

namespace mts {

// Whether the request's sector may post its card at all: sector and employee
// given and admitted, the sector's update type, the product's sectors and the
// sectors that must have posted the card before this one.
//
// Works on the module's current request, on its cached production-sequence
// sectors (cdsSetor, which the searches here move) and on its sector groups;
// all are borrowed and must outlive this object, as must the connection. Each check returns true
// when the card passes and writes `mensagem` only when it refuses. Nothing is written to the
// database; database errors propagate.
class SectorSequence {
 public:
  SectorSequence(TVNClientDataSet& cdsSetor, SectorGroups& grupos, const TDadosAtuProducao& dados);
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);
  // The card's postings, when a whole card's rows answer whether a sector
  // posted it (borrowed; without them every sector is read on its own).
  void UsarPostagens(CardPostings& postagens) { postagens_ = &postagens; }

  bool ValidarSetorFuncionario(std::string& mensagem);
  bool ValidarTipoAtuSetor(std::string& mensagem);

  // Opens the card's order item; it stays open for ProdutoItem and SetorInicial
  // (both empty when the card has no item row).
  void AbrirItemFicha();
  std::string ProdutoItem() const;
  std::string SetorInicial() const;

  // True when the product has no production-sequence sector list, or the
  // request's sector is on it.
  bool ValidarSetorProduto(const std::string& produto, std::string& mensagem);
  // Every previous sector of the request's sector that the product goes
  // through, from its initial sector on, has posted the card.
  bool ValidarSetoresAnteriores(std::string& mensagem);

  // The raw SETORANT_SE narrowed to the sectors of the open item's product.
  std::string FiltrarSetoresAnteriores(const std::string& setoresAnteriores);
  // The previous sector has posted the card; a grouping sector through any of
  // its members only (AgrupamentoAtualizado).
  bool SetorAnteriorAtualizado(const std::string& setor, std::string& mensagem);
  // Some member of the grouping sector has posted the card (for a sub-card
  // request, the sub-card itself or the main card).
  bool AgrupamentoAtualizado(const std::string& setor, std::string& mensagem);

 private:
  // AgrupamentoAtualizado on the members already open in grupos_.
  bool MembroDoAgrupamentoAtualizado(const std::string& setor, std::string& mensagem);
  // Shapes sqlSetAntAtu for the card's postings in `setor` without running it.
  void prepararPostagensSetor(const std::string& subFicha, const std::string& setor);
  void abrirPostagensSetor(const std::string& subFicha, const std::string& setor);
  void reabrirPostagensSetor(const std::string& setor);
  // The whole card's postings, loaded, when they answer for single sectors.
  CardPostings* postagensDaFichaInteira();

  TVNClientDataSet& cdsSetor_;
  SectorGroups& grupos_;
  const TDadosAtuProducao& dados_;

  ModuleQuery sqlSetorFunc;
  ModuleQuery sqlItensPv;
  ModuleQuery sqlSetorProd;
  // sqlSetorProd holds the sector list of the product of the item opened last.
  bool setoresDoProdutoDoItem_ = false;
  CardPostings* postagens_ = nullptr;
  ModuleQuery sqlSetAntAtu;  // text built at each use
};

}  // namespace mts
