#pragma once

#include <cstdint>
#include <string>

#include "production/stock/StockQuantity.h"

namespace mts {

// One candidate row of a stock posting: one size (ITENSPVGRADE row) of one
// order item, with what active production-stock links already entered for it
// and, in memory only, what this posting enters (QTDE_NOVO_LANC).
struct ProdEstRow {
  std::string PEDIDO_IT;
  std::string ITEM_IT;
  std::string PROD_IT;
  std::string PADRON_IT;
  std::string PROG_IT;
  std::string FICHA_IT;
  std::string TAM_IT;
  StockQuantity QTPED_IT;
  StockQuantity QTDE_JA_LANCADA;
  std::int32_t FILIAL_PEDVENDA = 0;
  std::int32_t FILIAL_PROGRAMACAO = 0;
  StockQuantity QTDE_NOVO_LANC;
};

}  // namespace mts
