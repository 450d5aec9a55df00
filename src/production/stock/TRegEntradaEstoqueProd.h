#pragma once

#include <cstdint>
#include <string>

#include "dataaccess/Value.h"

namespace mts {

// How a stock posting finds its order-item sizes and how many pairs each gets.
// The values are stored by other programs: never renumber them (7 is unused).
enum TTipoLancProducaoEstoque : std::uint8_t {
  lpeCaixaUnitaria = 0,     // one pair of a unit box
  lpeCaixaColetiva = 1,     // the pairs of a collective box, per size
  lpeFicha = 2,             // every pending pair of a card's open items
  lpeSubFicha = 3,          // a sub-card's pairs per size
  lpePedidoItem = 4,        // every pending pair of an order item
  lpePedidoItemQtde = 5,    // a fixed quantity on every size of an order item
  lpeAvulso = 6,            // a fixed quantity of one product, standard and size
  lpeMovimentoInterno = 8,  // the same, for an internal stock movement
};

// One stock posting request, a plain value. Text is empty and numbers are 0
// unless set; the fields a kind does not use are cleared before writing.
struct TRegEntradaEstoqueProd {
  std::int32_t Filial = 0;  // branch used when neither programme nor order gives one
  std::string Usuario;      // user written into the stock rows
  std::string Documento;    // DOCTO_EMP; empty means "PRODES"
  db::Timestamp DataLanc;   // posting day (rows are dated at its 00:00)
  TTipoLancProducaoEstoque TipoLancProducaoEstoque = lpeCaixaUnitaria;
  std::string RegSpedK280MesAno;
  std::string RegSpedK280;
  std::string Programacao;
  std::string Ficha;
  std::string Subficha;
  std::int32_t CodigoCxColet = 0;  // CODCXCOLET.CODIGO_CX
  std::int32_t CodigoCxUnit = 0;   // CODCXUNIT.CODIGO_CX
  std::string Pedido;
  std::string ItemPed;
  std::int32_t IdMovEstInterno = 0;
  std::string Produto;       // kinds 6 and 8
  std::string Padronizacao;  // kinds 6 and 8
  std::string Tamanho;       // kinds 6 and 8
  double Qtde = 0;           // kinds 5, 6 and 8
};

}  // namespace mts
