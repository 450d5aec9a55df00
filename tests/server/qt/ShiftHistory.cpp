#include "ShiftHistory.h"

#include <gtest/gtest.h>

#include "support/DatabaseRows.h"

namespace mts::testing_support {
namespace {

enum class Expected { Complete, Nothing, CompleteOrNothing };

// How a card's attempts say it must be found: shown as posted means complete;
// an attempt whose connection ended without an answer may have committed
// before the answer was lost, so it may be complete but never partial.
Expected ExpectedFor(const ShiftCard& card, const std::vector<ShownAnswer>& answers) {
  int posted = 0;
  bool unanswered = false;
  for (const ShownAnswer& answer : answers) {
    if (answer.card != &card) continue;
    if (answer.shown == card.postedText) ++posted;
    if (answer.shown.empty()) unanswered = true;
  }
  EXPECT_LE(posted, 1) << card.card << " was shown as posted " << posted << " times";
  if (posted > 0) return Expected::Complete;
  return unanswered ? Expected::CompleteOrNothing : Expected::Nothing;
}

// The rows one card left, each figure 0 when it wrote nothing of that kind.
struct CardRows {
  std::int64_t sector = 0;
  std::int64_t stockEntries = 0;
  std::int64_t stockEntriesWithoutMovement = 0;
  std::int64_t stockPairs = 0;
  std::string itemStatus;
  std::int64_t releaseLog = 0;
};

CardRows RowsOf(db::Connection& connection, const ShiftCard& card) {
  CardRows rows;
  rows.sector = test::countRows(connection, "PRODUCAO_SETOR", card.sectorRows);
  if (card.stockEntries) {
    const std::string from =
        std::string(
            "from PRODUCAO_ESTOQUE P left join ENTRADAMP E on E.FILIAL_EMP = "
            "P.FILIAL_EMP_ES and E.FORNEC_EMP = P.FORNEC_EMP_ES and E.DOCTO_EMP = "
            "P.DOCTO_EMP_ES and E.SERIE_EMP = P.SERIE_EMP_ES and E.ITEM_EMP = "
            "P.ITEM_EMP_ES and E.ORDEM_EMP = P.ORDEM_EMP_ES where ") +
        card.stockEntries;
    const db::Row stock = test::queryOne(
        connection,
        "select count(*) N, count(E.FILIAL_EMP) MOVED, cast(coalesce(sum(E.QTDE_EMP), "
        "0) as integer) PAIRS " +
            from);
    rows.stockEntries = stock.bigint("N");
    rows.stockEntriesWithoutMovement = rows.stockEntries - stock.bigint("MOVED");
    rows.stockPairs = stock.bigint("PAIRS");
  }
  if (card.item) {
    rows.itemStatus =
        test::queryOne(connection, std::string("select SIT_IT from ITENSPV where ") + card.item)
            .text("SIT_IT");
  }
  if (card.releaseLog)
    rows.releaseLog = test::countRows(connection, "LOG_ALTERACAO", card.releaseLog);
  return rows;
}

bool IsComplete(const ShiftCard& card, const CardRows& rows) {
  return rows.sector == 1 && (!card.stockEntries || rows.stockPairs == card.stockPairs) &&
         (!card.item || rows.itemStatus == card.itemStatusAfter) &&
         (!card.releaseLog || rows.releaseLog == 1) && rows.stockEntriesWithoutMovement == 0;
}

bool IsAbsent(const ShiftCard& card, const CardRows& rows) {
  return rows.sector == 0 && rows.stockEntries == 0 &&
         (!card.item || rows.itemStatus == card.itemStatusBefore) && rows.releaseLog == 0;
}

std::string Describe(const CardRows& rows) {
  return "sector rows " + std::to_string(rows.sector) + ", stock entries " +
         std::to_string(rows.stockEntries) + " (" +
         std::to_string(rows.stockEntriesWithoutMovement) + " without movement, " +
         std::to_string(rows.stockPairs) + " pairs), item status '" + rows.itemStatus +
         "', release log " + std::to_string(rows.releaseLog);
}

std::string Attempts(const ShiftCard& card, const std::vector<ShownAnswer>& answers) {
  std::string shown;
  for (const ShownAnswer& answer : answers) {
    if (answer.card != &card) continue;
    shown += (shown.empty() ? "" : ", ") + (answer.shown.empty() ? "(no answer)" : answer.shown);
  }
  return shown.empty() ? "(never posted)" : shown;
}

}  // namespace

void ExpectHistoryMatches(db::Connection& connection, const std::vector<ShiftCard>& cards,
                          const std::vector<ShownAnswer>& answers) {
  for (const ShiftCard& card : cards) {
    SCOPED_TRACE(std::string(card.badge) + " " + card.card + ": shown " + Attempts(card, answers));
    const CardRows rows = RowsOf(connection, card);
    switch (ExpectedFor(card, answers)) {
      case Expected::Complete:
        EXPECT_TRUE(IsComplete(card, rows)) << "not completely recorded: " << Describe(rows);
        break;
      case Expected::Nothing:
        EXPECT_TRUE(IsAbsent(card, rows)) << "recorded though never shown so: " << Describe(rows);
        break;
      case Expected::CompleteOrNothing:
        EXPECT_TRUE(IsComplete(card, rows) || IsAbsent(card, rows))
            << "half recorded: " << Describe(rows);
        break;
    }
  }
}

void ExpectNotRecorded(db::Connection& connection, const ShiftCard& card) {
  const CardRows rows = RowsOf(connection, card);
  EXPECT_TRUE(IsAbsent(card, rows))
      << card.card << " recorded by a failed attempt: " << Describe(rows);
}

}  // namespace mts::testing_support
