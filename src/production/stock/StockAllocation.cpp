#include "production/stock/StockAllocation.h"

#include <algorithm>
#include <cctype>

namespace mts {

namespace {

std::string trimmed(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

StockQuantity pairsOf(const std::string& text) {
  const std::string number = trimmed(text);
  const bool digitsOnly =
      !number.empty() && std::all_of(number.begin(), number.end(),
                                     [](unsigned char c) { return std::isdigit(c) != 0; });
  if (!digitsOnly) return {};
  return StockQuantity::fromValue(std::int32_t{std::stoi(number)});
}

std::string slot(const std::string& text, std::size_t position) {
  return position < text.size() ? text.substr(position, 2) : std::string();
}

}  // namespace

StockQuantity LancarQtdePendente(ProdEstRow& row, StockQuantity pedida) {
  const StockQuantity pendente = row.QTPED_IT - row.QTDE_JA_LANCADA - row.QTDE_NOVO_LANC;
  StockQuantity lancada;
  if (pendente > StockQuantity()) lancada = std::min(pedida, pendente);
  row.QTDE_NOVO_LANC = row.QTDE_NOVO_LANC + lancada;
  return lancada;
}

void LancarQtdeFixa(ProdEstRow& row, StockQuantity qtde) {
  row.QTDE_NOVO_LANC = qtde;
}

void DistribuirNumeracao(std::vector<ProdEstRow>& rows, const std::string& numeracao,
                         const std::string& qtpares) {
  // At most 33 sizes: positions 0, 3, ..., 96.
  for (std::size_t position = 0; position < 99; position += 3) {
    const std::string tamanho = slot(numeracao, position);
    if (trimmed(tamanho).empty()) break;
    const StockQuantity pares = pairsOf(slot(qtpares, position));
    if (pares <= StockQuantity()) continue;
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const ProdEstRow& r) { return r.TAM_IT == tamanho; });
    if (row != rows.end()) LancarQtdePendente(*row, pares);
  }
}

void DistribuirSubFicha(std::vector<ProdEstRow>& rows, const std::vector<SubFichaSize>& sizes) {
  for (const SubFichaSize& size : sizes) {
    StockQuantity restante = size.QTDE_PR;
    auto row = std::find_if(rows.begin(), rows.end(),
                            [&](const ProdEstRow& r) { return r.TAM_IT == size.TAMA_PR; });
    while (row != rows.end() && row->TAM_IT == size.TAMA_PR) {
      restante = restante - LancarQtdePendente(*row, restante);
      if (restante <= StockQuantity()) break;
      ++row;
    }
  }
}

}  // namespace mts
