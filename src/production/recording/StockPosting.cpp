#include "production/recording/StockPosting.h"

#include <stdexcept>

#include "production/recording/SectorFlags.h"
#include "production/stock/StockEntryRules.h"

namespace mts {

StockPosting::StockPosting(TVNClientDataSet& cdsSetor) : cdsSetor_(cdsSetor) {}

StockPosting::~StockPosting() = default;

void StockPosting::DefinirConexao(db::Connection& connection) {
  connection_ = &connection;
  if (estoque_) estoque_->DefinirConexao(connection);
}

void StockPosting::LancarEstoqueProducao(std::int32_t filial, const std::string& setor,
                                         const db::Timestamp& dataHora, const std::string& usuario,
                                         const std::string& subFicha, const std::string& ficha,
                                         const std::string& prog, const std::string& pedido,
                                         const std::string& itemPed) {
  if (filial <= 0) return;
  if (CampoDoSetor(cdsSetor_, setor, "LIBERAR_SE") != "S") return;
  if (!estoque_) {
    estoque_ = std::make_unique<TdmEstoqueProducao>();
    if (connection_ == nullptr) throw std::logic_error("stock posting has no connection");
    estoque_->DefinirConexao(*connection_);
  }

  TRegEntradaEstoqueProd reg;
  reg.Filial = filial;
  reg.Usuario = usuario;
  reg.DataLanc = SomenteData(dataHora);
  if (!pedido.empty() && !itemPed.empty()) {
    reg.TipoLancProducaoEstoque = lpePedidoItem;
    reg.Pedido = pedido;
    reg.ItemPed = itemPed;
  } else {
    reg.TipoLancProducaoEstoque = subFicha != "0000" ? lpeSubFicha : lpeFicha;
    if (subFicha != "0000") reg.Subficha = subFicha;
    reg.Programacao = prog;
    reg.Ficha = ficha;
  }
  estoque_->EntradaEstoqueProducao(reg);
}

}  // namespace mts
