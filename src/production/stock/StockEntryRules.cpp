#include "production/stock/StockEntryRules.h"

namespace mts {

namespace {

bool isPart(const std::string& text) {
  return !text.empty() && text != "*";
}

}  // namespace

db::Timestamp SomenteData(const db::Timestamp& momento) {
  return {momento.year, momento.month, momento.day, 0, 0, 0, 0};
}

std::int32_t FilialDoLancamento(const ProdEstRow& row, bool atuFilialProg, std::int32_t filial) {
  if (atuFilialProg && row.FILIAL_PROGRAMACAO > 0) return row.FILIAL_PROGRAMACAO;
  if (row.FILIAL_PEDVENDA > 0) return row.FILIAL_PEDVENDA;
  return filial;
}

std::string CodigoProdItemEstoque(const std::string& produto, const std::string& padronizacao,
                                  const std::string& tamanho) {
  std::string codigo = produto;
  if (isPart(padronizacao)) codigo += "." + padronizacao;
  if (isPart(tamanho)) codigo += "." + tamanho;
  return codigo;
}

std::string DescricaoProdItemEstoque(const ProdItemDescriptionParts& parts,
                                     const std::string& tamanho, const std::string& codigo) {
  std::string descricao = parts.DESCNF_PR.empty() ? parts.DESC_PR : parts.DESCNF_PR;
  if (parts.DESC_PADRON.empty()) return descricao;
  descricao += " " + parts.DESC_PADRON;
  if (!tamanho.empty()) descricao += " " + tamanho;
  if (parts.FILIAL_FORMA_AGRUP_ITENS == "PRODPADTAMREF") descricao += " REF " + codigo;
  return descricao;
}

}  // namespace mts
