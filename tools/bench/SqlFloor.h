#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "LatencyFigures.h"
#include "dataaccess/firebird/Connection.h"

namespace mts::bench {

// How the floor wraps a card's reads and write.
enum class FloorMode {
  // One transaction and one commit: the floor proper.
  OneTransaction,
  // Every statement in a transaction of its own that commits at once (as a
  // statement run outside a transaction does): what those commits cost.
  CommitPerStatement,
  // One transaction that first locks the card's slot in BLOQUEIO_FICHA with
  // the server's own card lock, as every server must before it checks a card:
  // what that lock costs (its record version is one more page for the commit
  // to write).
  OneTransactionUnderCardLock,
};

// One whole card to be posted in a sector by an employee.
struct FloorCard {
  std::string prog;
  std::string ficha;
  std::string sector;
  std::string employee;  // employee code, as PRODUCAO_SETOR stores it
};

// The database work a whole card needs in a production sector, and nothing
// else: the server's checks answered by keyed reads (the employee in the
// sector, pending operation cards, the programme still open with the database
// clock, the order item's product and the sectors it passes, the card and its
// quantity, the sector's row, the card's earlier postings), then the same
// PRODUCAO_SETOR row the server inserts, all in one transaction and one
// commit. It is the floor the server's per-card cost is measured against.
//
// Posts every card in turn, sequentially, on `connection` and returns the
// latency of each (from the first read to the end of the commit) and the
// throughput. Throws std::runtime_error when a card would not be accepted (the
// checks read something other than the generated factory holds), so that a
// floor that skipped work cannot pass for a fast one.
//
// The mode changes how the work is wrapped, never the work itself.
LatencyFigures postAtFloor(db::Connection& connection, const std::vector<FloorCard>& cards,
                           FloorMode mode = FloorMode::OneTransaction);

// The same, a card at a time, for runs that interleave the floor with other
// work: prepareFloor once on the connection, then postOneAtFloor per card,
// which returns the card's latency.
void prepareFloor(db::Connection& connection);
std::chrono::nanoseconds postOneAtFloor(db::Connection& connection, const FloorCard& card,
                                        FloorMode mode = FloorMode::OneTransaction);

}  // namespace mts::bench
