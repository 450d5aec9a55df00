#pragma once

#include <cstdint>
#include <string>

#include "dataaccess/firebird/ResultSet.h"
#include "production/TDadosAtuProducao.h"

namespace mts {

// What one posting posts in a sector: the whole card (sub-card "0000"), a whole
// sub-card, one box label or one sub-production label. An exit belongs to the
// open row of the same thing only: completing the row of another (a label's
// row by its sub-card) would lose the pairs of the posting being made.
struct PostedThing {
  std::string SubFicha;              // "0000" for the whole card
  std::int32_t CodCxColet = 0;       // box label, 0 for none
  std::int32_t IdSubProd = 0;        // sub-production label, 0 for none
  std::int32_t IdSubProdMPrima = 0;  // raw-material sub-production, 0 for none

  // What a request posts (a request never posts a raw-material sub-production).
  static PostedThing OfRequest(const TDadosAtuProducao& dados);
  // What a PRODUCAO_SETOR row holds; a null code reads as 0.
  static PostedThing OfRow(const db::Row& row);
};

// Texts compare as the database compares them (trailing blanks do not count).
bool operator==(const PostedThing& a, const PostedThing& b);

}  // namespace mts
