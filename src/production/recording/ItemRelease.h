#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"
#include "production/recording/StockPosting.h"

namespace mts {

// The order item a box label belongs to.
struct BoxLabelOrderItem {
  std::string PEDIDO_CX;
  std::string ITEMPED_CX;
};
// Finds a box label with its order item; nullopt when it is not found.
using BoxLabelLookup = std::function<std::optional<BoxLabelOrderItem>(std::int32_t codigo)>;

// Order item status driven by the sectors' postings: the release of a box
// label's order item once all its labels are posted in a releasing sector,
// and the stock status of a card's items once the sector has posted all its
// pairs.
//
// The connection, the sector list and the stock posting are borrowed and must
// outlive this object.
class ItemRelease {
 public:
  ItemRelease(TVNClientDataSet& cdsSetor, StockPosting& estoque,
              BoxLabelLookup localizarCodCxColet);
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();
  ItemRelease(const ItemRelease&) = delete;
  ItemRelease& operator=(const ItemRelease&) = delete;

  void DefinirConexao(db::Connection& connection);

  // When the label's sector releases items (LIBERAR_SE "S") and every label of
  // its order item has a posting in that sector: sets the item to "L" with a
  // change-log entry (unless it is "F") and posts its pending pairs to stock,
  // all in one transaction (the connection's open one when there is one).
  // Anything failing undoes all three. A label not found, or an item with
  // labels still unposted, changes nothing.
  void LiberarItemTalao(std::int32_t codCxColet, std::int32_t filial, const db::Timestamp& dataHora,
                        const std::string& usuario, const std::string& setor);

  // In a sector marked ATU_SIT_ITEM_ESTOQUE_SE "S", once the card is complete
  // there, sets its live items still in "P" to "E" (not logged).
  void AtualizarSitItemEstoque(const std::string& prog, const std::string& ficha,
                               const std::string& setor);

  // True when the pairs posted for the card in the sector are exactly the
  // card's ordered pairs (more is not complete).
  bool FichaCompletaNoSetor(const std::string& prog, const std::string& ficha,
                            const std::string& setor);

 private:
  db::Connection* connection_ = nullptr;
  TVNClientDataSet& cdsSetor_;
  StockPosting& estoque_;
  BoxLabelLookup localizarCodCxColet_;

  ModuleQuery sqlTalaoLibItem;
  ModuleQuery sqlSitItem;
  ModuleQuery sqlAtuPed;
  ModuleQuery stpGravaLog;
  ModuleQuery sqlPesqAtuFicha;
  ModuleQuery sqlAltSitItemProg;
};

}  // namespace mts
