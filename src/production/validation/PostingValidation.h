#pragma once

#include <string>

#include "dataaccess/Connection.h"
#include "production/ProductionParameters.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"
#include "production/cards/CutCards.h"
#include "production/cards/SectorOperations.h"
#include "production/identification/CardIdentification.h"
#include "production/lists/CachedLists.h"
#include "production/parameters/ParameterReader.h"
#include "production/validation/CardKindChecks.h"
#include "production/validation/CardPostings.h"
#include "production/validation/EmployeeNames.h"
#include "production/validation/PostingRules.h"
#include "production/validation/ProductionOrderChecks.h"
#include "production/validation/SectorGroups.h"
#include "production/validation/SectorSequence.h"
#include "production/validation/ServerClock.h"

namespace mts {

// Validation of a posting: whether the module's current request may be posted
// in its sector now, and the collaborators that hold the individual checks
// (public, so that the module can name every check in its index).
//
// Everything given to the constructor belongs to the production module and
// must outlive this object; DefinirConexao binds every statement here.
class PostingValidation {
 public:
  PostingValidation(const ProductionParameters& parametros, ParameterReader& parametrosDb,
                    CachedLists& lists, CardIdentification& identification, CutCards& cutCards,
                    SectorOperations& operations, TDadosAtuProducao& dados);
  PostingValidation(const PostingValidation&) = delete;
  PostingValidation& operator=(const PostingValidation&) = delete;

  void DefinirConexao(db::Connection& connection);

  // The checks in their fixed order; the first refusal ends it with its
  // message. Accepted: Sucesso, with the request completed for recording (Qtde,
  // CampoData, CampoHora, BaixaSetorEntrada, DataHora, FilialEstoque,
  // VerificaLiberacaoItemTalao). Writes nothing; database errors propagate and
  // leave the fields set so far as they are.
  TRetorno ValidaAtuProducao();

  // Box label: looked up again by CodCxColet, then the box checks.
  bool ValidarCodCxColet(std::string& mensagem);
  // Sub-production label: looked up again by IdSubProd, then its checks.
  bool ValidarCodSubProd(std::string& mensagem);
  // Operation card: its recorded operations loaded, then the operation check.
  bool ValidarFichaOperacao(std::string& mensagem);

  ServerClock relogio;
  EmployeeNames funcionarios;
  SectorGroups grupos;
  SectorSequence sequencia;
  ProductionOrderChecks ordemProducao;
  CardKindChecks tiposFicha;
  CardPostings postagens;
  PostingRules regrasPostagem;

 private:
  // The checks that depend on the kind of card; true when it passes.
  bool ValidarTipoFicha(const std::string& grupo, std::string& mensagem);

  const ProductionParameters& parametros_;
  ParameterReader& parametrosDb_;
  CachedLists& lists_;
  CardIdentification& identification_;
  CutCards& cutCards_;
  SectorOperations& operations_;
  TDadosAtuProducao& dados_;
};

}  // namespace mts
