#pragma once

#include <string>
#include <vector>

#include "dataaccess/firebird/Connection.h"

namespace mts::testing_support {

// One card of a fault shift: who posts it, the answer that says it was
// recorded, and every row a complete recording of it leaves. The conditions
// are SQL text written by the test (no operator input reaches them).
struct ShiftCard {
  const char* badge;
  const char* card;
  const char* postedText;  // row 3 when the card is recorded
  const char* sectorRows;  // its PRODUCAO_SETOR rows
  // Its stock entries (PRODUCAO_ESTOQUE, condition on alias P) and the pairs
  // they enter (ENTRADAMP); none when the sector posts no stock.
  const char* stockEntries = nullptr;
  int stockPairs = 0;
  // The order item whose status the posting sets (ITENSPV condition), its
  // status before and after; none when the posting leaves item status alone.
  const char* item = nullptr;
  const char* itemStatusBefore = nullptr;
  const char* itemStatusAfter = nullptr;
  // The change-log entries of an order-item release (LOG_ALTERACAO).
  const char* releaseLog = nullptr;
};

// What a terminal was shown for one attempt at a card: the card's postedText,
// a refusal, or "" when the connection ended before any answer.
struct ShownAnswer {
  const ShiftCard* card;
  std::string shown;
};

// Compares what the terminals were shown with the database, after the shift:
// a card shown as posted once has all its rows exactly once (the sector row,
// the stock entries with their pairs, the item status, the release log); a
// card never shown as posted has none of them, whatever the attempt ended
// with (no half recording, no silent success); no card is shown as posted
// twice. Failures are reported as GoogleTest failures naming the card.
void ExpectHistoryMatches(db::Connection& connection, const std::vector<ShiftCard>& cards,
                          const std::vector<ShownAnswer>& answers);

// Expects none of the card's rows in the database: for a card whose attempts
// so far are known to have failed (its transaction rolled back whole).
void ExpectNotRecorded(db::Connection& connection, const ShiftCard& card);

}  // namespace mts::testing_support
