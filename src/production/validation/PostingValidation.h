#pragma once

#include "dataaccess/Connection.h"
#include "dataaccess/VNClientDataSet.h"
#include "production/ProductionParameters.h"
#include "production/TDadosAtuProducao.h"
#include "production/validation/CardKindChecks.h"
#include "production/validation/CardPostings.h"
#include "production/validation/EmployeeNames.h"
#include "production/validation/PostingRules.h"
#include "production/validation/ProductionOrderChecks.h"
#include "production/validation/SectorGroups.h"
#include "production/validation/SectorSequence.h"
#include "production/validation/ServerClock.h"

namespace mts {

// Everything the production module validates a posting with: one owner for the
// collaborators of the checks, built together because they share the request,
// the cached sectors and one another (the grouping checks read the postings).
//
// The connection, the cached sectors, the parameters and the request are
// borrowed from the module and must outlive this object. nomeSetor gives a
// sector's name (empty when unknown).
class PostingValidation {
 public:
  PostingValidation(db::Connection& connection, TVNClientDataSet& cdsSetor,
                    const ProductionParameters& parametros, TDadosAtuProducao& dados,
                    PostingRules::NameLookup nomeSetor);
  PostingValidation(const PostingValidation&) = delete;
  PostingValidation& operator=(const PostingValidation&) = delete;

  ServerClock relogio;
  EmployeeNames funcionarios;
  SectorGroups grupos;
  SectorSequence sequencia;
  ProductionOrderChecks ordemProducao;
  CardKindChecks tiposFicha;
  CardPostings postagens;
  PostingRules regrasPostagem;
};

}  // namespace mts
