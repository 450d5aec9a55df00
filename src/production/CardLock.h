#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"
#include "production/TDadosAtuProducao.h"
#include "production/recording/ItemRelease.h"

namespace mts {

// How many card lock slots BLOQUEIO_FICHA holds (rows 0 to kCardLockSlots - 1).
inline constexpr std::int32_t kCardLockSlots = 4096;

// What identifies a card for every writer that may post it at the same time,
// as lock keys. Whole cards, sub-cards, sub-production labels and operation
// cards: their programme card, whose postings their checks read. Box labels:
// their programme card and their order item (`item`, when the label has one),
// so that two boxes of one item take turns and the last one releases the item
// once. Cut cards: the cut card itself.
std::vector<std::string> CardLockKeys(const TDadosAtuProducao& card,
                                      const std::optional<BoxLabelOrderItem>& item);

// The slot of a key: a fixed hash, the same in every server process.
std::int32_t CardLockSlot(std::string_view key);

// Locks the slots of a card's keys inside the connection's open transaction
// (SELECT ... WITH LOCK on BLOQUEIO_FICHA): another transaction that locks one
// of them waits until this one ends (for at most the lock timeout). Slots are
// taken in ascending order, so two cards that share slots cannot deadlock on
// them. Returns the database's time when the last slot was locked (nothing when
// there are no keys). Throws db::DatabaseError when a lock fails or a slot row
// is missing.
class CardLock {
 public:
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection) { connection_ = &connection; }
  std::optional<db::Timestamp> Travar(const std::vector<std::string>& keys);

 private:
  db::Connection* connection_ = nullptr;
};

}  // namespace mts
