#pragma once

#include <string>
#include <vector>

#include "production/stock/ProdEstRow.h"
#include "production/stock/StockQuantity.h"

namespace mts {

// How many pairs of a posting go to each candidate row. These work on rows in
// memory only; nothing here reads or writes the database.

// Enters on the row as much of `pedida` as the row still has pending (ordered
// minus already entered minus what this posting has already put on it; nothing
// when that is 0 or less) and returns the amount entered. The amount adds to
// QTDE_NOVO_LANC, so a size asked for twice in one posting keeps both.
StockQuantity LancarQtdePendente(ProdEstRow& row, StockQuantity pedida);

// Puts exactly `qtde` on the row, whatever is pending.
void LancarQtdeFixa(ProdEstRow& row, StockQuantity qtde);

// Spreads a collective box's pairs over the rows of its sizes. The box's
// numbering and pairs texts hold one size and its pairs every 3 characters
// ("34 35 36", " 6 12  6"); reading stops at the first blank size. A size
// matches a row whose TAM_IT is exactly its 2 characters; pairs that are not a
// number count as 0.
void DistribuirNumeracao(std::vector<ProdEstRow>& rows, const std::string& numeracao,
                         const std::string& qtpares);

// The pairs of one size of a sub-card (a SUBPROD row).
struct SubFichaSize {
  std::string TAMA_PR;
  StockQuantity QTDE_PR;
};

// Spreads a sub-card's pairs per size over the rows of that size, in row order,
// each row up to what it has pending. `rows` must be sorted by TAM_IT. A size
// without rows is skipped; pairs beyond what the rows have pending are not
// entered.
void DistribuirSubFicha(std::vector<ProdEstRow>& rows, const std::vector<SubFichaSize>& sizes);

}  // namespace mts
