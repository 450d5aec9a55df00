#include "production/stock/StockRequestRules.h"

#include "production/stock/ELancProducaoEstoqueException.h"

namespace mts {

namespace {

const db::Timestamp kPrimeiraDataLanc{2017, 1, 1, 0, 0, 0, 0};

void clearBoxes(TRegEntradaEstoqueProd& reg) {
  reg.CodigoCxColet = 0;
  reg.CodigoCxUnit = 0;
}

void clearCard(TRegEntradaEstoqueProd& reg) {
  reg.Programacao.clear();
  reg.Ficha.clear();
  reg.Subficha.clear();
}

[[noreturn]] void refuse(const char* message) {
  throw ELancProducaoEstoqueException(message);
}

void requireOrderItem(const TRegEntradaEstoqueProd& reg) {
  if (reg.Pedido.empty() || reg.ItemPed.empty()) {
    refuse("Os parametros Pedido/ItemPed n\xE3o for\xE3o informados corretamente.");
  }
}

}  // namespace

StockParameters StockParameters::fromValues(const std::string& atuCodCxColet,
                                            const std::string& atuCodCxUnit,
                                            const std::string& atuFilialProg) {
  return {atuCodCxColet != "N", atuCodCxUnit != "N", atuFilialProg == "S"};
}

bool PrepararRequisicao(TRegEntradaEstoqueProd& reg, const StockParameters& parametros) {
  if (reg.DataLanc < kPrimeiraDataLanc) {
    refuse("O parametro DataLanc n\xE3o foi informado corretamente.");
  }
  switch (reg.TipoLancProducaoEstoque) {
    case lpeCaixaUnitaria:
      if (!parametros.ATU_CODCXUNIT) return false;
      if (reg.CodigoCxUnit < 1)
        refuse("O parametro CodigoCxUnit n\xE3o foi informado corretamente.");
      reg.CodigoCxColet = 0;
      clearCard(reg);
      return true;
    case lpeCaixaColetiva:
      if (!parametros.ATU_CODCXCOLET) return false;
      if (reg.CodigoCxColet < 1) {
        refuse("O parametro CodigoCxColet n\xE3o foi informado corretamente.");
      }
      reg.CodigoCxUnit = 0;
      clearCard(reg);
      return true;
    case lpeFicha:
      if (reg.Programacao.empty() || reg.Ficha.empty()) {
        refuse("Os parametros Programacao/Ficha n\xE3o for\xE3o informados corretamente.");
      }
      clearBoxes(reg);
      reg.Subficha.clear();
      return true;
    case lpeSubFicha:
      if (reg.Programacao.empty() || reg.Ficha.empty() || reg.Subficha.empty()) {
        refuse("Os parametros Programacao/Ficha/Subficha n\xE3o for\xE3o informados corretamente.");
      }
      clearBoxes(reg);
      return true;
    case lpePedidoItem:
    case lpePedidoItemQtde:
      requireOrderItem(reg);
      clearBoxes(reg);
      clearCard(reg);
      return true;
    case lpeMovimentoInterno:
      if (reg.IdMovEstInterno < 1) {
        refuse("O parametro IdMovEstInterno n\xE3o foi informado corretamente.");
      }
      clearBoxes(reg);
      return true;
    case lpeAvulso:
      clearBoxes(reg);
      return true;
  }
  refuse("Parametro TipoLancProducaoEstoque n\xE3o foi informado corretamente.");
}

}  // namespace mts
