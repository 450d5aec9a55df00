#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "production/stock/ProdEstRow.h"
#include "production/stock/StockRequestRules.h"
#include "production/stock/TRegEntradaEstoqueProd.h"

namespace mts {

// The stock module: turns a stock posting request into stock entries (ENTRADAMP
// rows of type "EP", each tied to its order item, card and box by a
// PRODUCAO_ESTOQUE row) and creates the stock items (PROD_ITEM_ESTOQUE) they
// move. Owned by the production module, created on its first stock posting and
// sharing its connection and transactions.
//
// The connection is borrowed and must outlive the module. Database errors
// propagate as db::DatabaseError.
class TdmEstoqueProducao {
 public:
  TdmEstoqueProducao();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();
  TdmEstoqueProducao(const TdmEstoqueProducao&) = delete;
  TdmEstoqueProducao& operator=(const TdmEstoqueProducao&) = delete;

  // Every statement of the module runs on this connection from now on.
  void DefinirConexao(db::Connection& connection);

  // Posts the request (a copy: the caller's record is not changed). A request
  // that cannot be posted as given raises ELancProducaoEstoqueException before
  // anything is read or written; so do a box that is not found and a box whose
  // order item has no sizes, before anything is written. A kind switched off by
  // the parameters returns without writing.
  //
  // The candidate rows, the pairs already posted and the entries are read and
  // written in one transaction: the caller's when one is open on the
  // connection (the caller then commits or rolls back, and an error here makes
  // its commit fail), else one of its own, committed at the end and rolled back
  // when anything fails.
  void EntradaEstoqueProducao(TRegEntradaEstoqueProd reg);

  // The candidate rows of the last posting, with what it entered on each
  // (QTDE_NOVO_LANC); empty when it stopped before reading them.
  const std::vector<ProdEstRow>& cdsProdEst() const { return cdsProdEst_; }

 private:
  enum class ModoItens { PedidoItemTamanho = 0, PedidoItem = 1, Ficha = 2 };

  std::string LerParametro(const std::string& parametro);
  void AbrirItens(ModoItens modo, const db::Params& params);
  void LancarCaixaUnitaria();
  void LancarCaixaColetiva();
  void LancarSubFicha();
  void LancarAvulso();

  void GravarLancamentos();
  void InserirEntradaMp(std::int32_t id, const ProdEstRow& row);
  void InserirProducaoEstoque(std::int32_t id, const ProdEstRow& row);
  void DefinirChaveEntradaMp(db::Params& params, std::int32_t id, const ProdEstRow& row);
  std::int32_t IdProdItemEstoque(const std::string& produto, const std::string& padronizacao,
                                 std::int32_t filial, const std::string& tamanho);
  std::int32_t CriarProdItemEstoque(const std::string& produto, const std::string& padronizacao,
                                    std::int32_t filial, const std::string& tamanho,
                                    const std::string& codigo);
  std::string DescricaoProdItemEstoque(const std::string& produto, const std::string& padronizacao,
                                       std::int32_t filial, const std::string& tamanho,
                                       const std::string& codigo);
  std::int32_t ProximoId(const std::string& gerador);
  db::Connection& conexao();

  db::Connection* connection_ = nullptr;
  TRegEntradaEstoqueProd reg_;  // the running posting's own copy
  StockParameters parametros_;
  std::int32_t filialLancamento_ = 0;  // branch of the entry being written
  std::vector<ProdEstRow> cdsProdEst_;

  ModuleQuery sqlParam;
  ModuleQuery sqlProdEst;
  ModuleQuery sqlCodCxUnit;
  ModuleQuery sqlCodCxColet;
  ModuleQuery sqlSubFicha;
  ModuleQuery sqlEntMpAdd;
  ModuleQuery sqlProdEstAdd;
  ModuleQuery sqlDescProdItemEst;
  ModuleQuery sqlAddProdItemEstoque;
};

// The text of the candidate-row query for a mode: 0 one size of an order item
// (:PED, :ITEM, :TAM), 1 every size of an order item (:PED, :ITEM), 2 every
// size of a card's open items (:PROG, :FICHA).
std::string MontarSQLItens(int modo);

}  // namespace mts
