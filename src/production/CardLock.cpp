#include "production/CardLock.h"

#include <algorithm>
#include <stdexcept>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts {

namespace {

// The clock comes with the lock: read once the wait is over, it dates the
// card by the moment it got its turn, and costs no statement of its own.
constexpr const char* kTravarSlot =
    "select ID_BF, cast('now' as TIMESTAMP) as DATA_HORA from BLOQUEIO_FICHA "
    "where ID_BF = :SLOT with lock";

}  // namespace

std::vector<std::string> CardLockKeys(const TDadosAtuProducao& card,
                                      const std::optional<BoxLabelOrderItem>& item) {
  if (card.FichaCorte) return {"FC " + std::to_string(card.IdFichaCorte)};
  std::vector<std::string> keys = {"FICHA " + card.Prog + "/" + card.Ficha};
  if (item) keys.push_back("ITEM " + item->PEDIDO_CX + "/" + item->ITEMPED_CX);
  return keys;
}

std::int32_t CardLockSlot(std::string_view key) {
  // FNV-1a, 32 bits: stable across processes and builds.
  std::uint32_t hash = 2166136261u;
  for (const char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return static_cast<std::int32_t>(hash % static_cast<std::uint32_t>(kCardLockSlots));
}

std::optional<db::Timestamp> CardLock::Travar(const std::vector<std::string>& keys) {
  if (connection_ == nullptr) throw std::logic_error("card lock has no connection");
  std::vector<std::int32_t> slots;
  for (const std::string& key : keys) slots.push_back(CardLockSlot(key));
  std::sort(slots.begin(), slots.end());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
  std::optional<db::Timestamp> agora;
  for (const std::int32_t slot : slots) {
    const db::ResultSet locked = connection_->query(kTravarSlot, {{"SLOT", slot}});
    if (locked.empty()) {
      throw db::DatabaseError("BLOQUEIO_FICHA n\xE3o tem a linha " + std::to_string(slot) +
                              ": aplique db/upgrade-card-locks.sql ao banco de dados.");
    }
    agora = locked.front().timestamp("DATA_HORA");
  }
  return agora;
}

std::vector<NamedStatement> CardLock::Statements() {
  return {{"CardLock.Travar", kTravarSlot}};
}

}  // namespace mts
