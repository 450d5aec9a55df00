#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"
#include "production/stock/TdmEstoqueProducao.h"

namespace mts {

// Hands recorded production to stock: decides whether a sector's posting goes
// to stock and builds the stock request. Owns the stock module, created on the
// first posting that reaches it and sharing this connection.
//
// The connection and the sector list are borrowed and must outlive this object.
class StockPosting {
 public:
  explicit StockPosting(TVNClientDataSet& cdsSetor);
  ~StockPosting();
  StockPosting(const StockPosting&) = delete;
  StockPosting& operator=(const StockPosting&) = delete;

  // Stock postings, and the stock module, run on this connection from now on.
  void DefinirConexao(db::Connection& connection);

  // Posts to stock when the branch is above 0 and the sector is listed with
  // LIBERAR_SE "S": an order item (kind 4) when order and item are given, else
  // the sub-card (kind 3) when it is not "0000", else the card (kind 2), dated
  // on the posting's day. Errors of the stock module pass through.
  void LancarEstoqueProducao(std::int32_t filial, const std::string& setor,
                             const db::Timestamp& dataHora, const std::string& usuario,
                             const std::string& subFicha, const std::string& ficha,
                             const std::string& prog, const std::string& pedido,
                             const std::string& itemPed);

  // The stock module; nullptr until the first posting that reaches it.
  TdmEstoqueProducao* estoque() const { return estoque_.get(); }

 private:
  db::Connection* connection_ = nullptr;
  TVNClientDataSet& cdsSetor_;
  std::unique_ptr<TdmEstoqueProducao> estoque_;
};

}  // namespace mts
