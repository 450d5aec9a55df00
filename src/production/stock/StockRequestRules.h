#pragma once

#include <string>

#include "production/stock/TRegEntradaEstoqueProd.h"

namespace mts {

// The stock parameters (PARAM group PRODUCAO_ESTOQUE), read afresh for every
// posting.
struct StockParameters {
  bool ATU_CODCXCOLET = true;    // collective box postings enabled
  bool ATU_CODCXUNIT = true;     // unit box postings enabled
  bool ATU_FILIAL_PROG = false;  // the programme's branch wins over the order's

  // From the stored values (empty when there is no row): the box postings are
  // off only with "N"; the programme's branch wins only with "S".
  static StockParameters fromValues(const std::string& atuCodCxColet,
                                    const std::string& atuCodCxUnit,
                                    const std::string& atuFilialProg);
};

// Checks a request before anything is read or written and clears the fields
// its kind must not write. Returns false when the kind is switched off by the
// parameters (nothing is to be posted, and that is no error). Raises
// ELancProducaoEstoqueException with the message of the first wrong field.
bool PrepararRequisicao(TRegEntradaEstoqueProd& reg, const StockParameters& parametros);

}  // namespace mts
