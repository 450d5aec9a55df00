#pragma once

#include <cstdint>
#include <string>

#include "dataaccess/firebird/Value.h"
#include "production/stock/ProdEstRow.h"

namespace mts {

// Decisions of writing one stock entry, free of the database.

// The calendar day of a moment, at 00:00.
db::Timestamp SomenteData(const db::Timestamp& momento);

// Branch of a candidate row's entry: the programme's when `atuFilialProg` and
// it is above 0, else the order's when above 0, else the request's.
std::int32_t FilialDoLancamento(const ProdEstRow& row, bool atuFilialProg, std::int32_t filial);

// Code of the stock item of a product, standard and size: "1234.02.37", an
// empty or "*" standard or size left out with its dot.
std::string CodigoProdItemEstoque(const std::string& produto, const std::string& padronizacao,
                                  const std::string& tamanho);

// What a stock item's description is made of.
struct ProdItemDescriptionParts {
  std::string DESC_PR;                   // product description
  std::string DESCNF_PR;                 // product description for invoices, wins when set
  std::string DESC_PADRON;               // the standard's description
  std::string FILIAL_FORMA_AGRUP_ITENS;  // the branch's item grouping rule
};

// The product description; with a standard description, then " " and it, " "
// and the size when there is one, and " REF " and the code when the branch
// groups items by "PRODPADTAMREF".
std::string DescricaoProdItemEstoque(const ProdItemDescriptionParts& parts,
                                     const std::string& tamanho, const std::string& codigo);

}  // namespace mts
