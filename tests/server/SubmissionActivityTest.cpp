// What the badge and card flow reports to the status model: each badge and
// card result with the card's sector, kind, latency and the text shown.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataaccess/firebird/DatabaseError.h"
#include "server/CardSubmission.h"
#include "server/ClientConnect.h"
#include "server/RegConnections.h"
#include "support/RecordingActivity.h"
#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::FakeProductionOperations;
using test::ManualTimer;
using test::RecordingActivity;

class SubmissionActivityTest : public testing::Test {
 protected:
  SubmissionActivityTest() {
    submission_.setActivity(&activity_);
    ClientConnect(registry_, screen_, listener_.connect("10.0.0.5"), listener_.active);
    production_.employees["1001"] = {"017", "JOAO BATISTA", "30"};
    TDadosAtuProducao card;
    card.Setor = "40";
    card.TipoAtualizacao = "S";
    production_.cards["00010100020001"].request = card;
  }

  TRegConnection& Terminal() { return registry_.TerminalAt(0); }
  void LogIn() {
    submission_.SubmitBadge(Terminal(), "1001");
    timer_.runAll();
    activity_.calls.clear();
  }

  ManualTimer timer_;
  TerminalScreen screen_{{}, timer_, [](const std::string&) {}};
  FakeProductionOperations production_;
  CardSubmission submission_{screen_, production_, [](const std::string&) {}};
  RegConnections registry_;
  test::FakeListener listener_;
  RecordingActivity activity_;
};

TEST_F(SubmissionActivityTest, BadgesAreReportedAcceptedOrRefusedWithTheTextShown) {
  submission_.SubmitBadge(Terminal(), "9999");
  submission_.SubmitBadge(Terminal(), "1001");
  EXPECT_EQ(activity_.calls,
            (std::vector<std::string>{"badge 0 refused FUNC. NAO LOCALIZADO", "badge 0 accepted"}));
}

TEST_F(SubmissionActivityTest, CardsAreReportedWithSectorKindOutcomeAndLatency) {
  LogIn();
  struct Row {
    const char* name;
    const char* code;
    TRetorno verdict;
    const char* expected;
  };
  const std::vector<Row> rows{
      // The sector comes from the identified card, not from the employee.
      {"posted", "00010100020001", {true, ""}, "card 0 40 S posted SUBFICHA ATUALIZADA"},
      {"refused by validation",
       "00010100020001",
       {false, "Setor anterior"},
       "card 0 40 S refused FICHA NAO ATUALIZADA"},
      // Not identified: no kind, the employee's sector.
      {"unknown card", "99999999999999", {true, ""}, "card 0 30  refused FICHA NAO ATUALIZADA"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    activity_.calls.clear();
    production_.verdicts = {row.verdict};
    submission_.SubmitCard(Terminal(), row.code);
    EXPECT_EQ(activity_.calls, std::vector<std::string>{row.expected});
    ASSERT_FALSE(activity_.cards.empty());
    EXPECT_GE(activity_.cards.back().latency.count(), 0);
    EXPECT_LT(activity_.cards.back().latency, std::chrono::seconds(5));
  }
}

// A failed card is a refused result on its terminal; a database failure is
// also reported as such, with whether the connection survived it.
TEST_F(SubmissionActivityTest, ACardWhoseRecordingFailsIsReportedRefused) {
  LogIn();
  const std::string refused = "card 0 40 S refused FICHA NAO ATUALIZADA";
  production_.onWrite = [](const std::string&) {
    throw std::runtime_error("A produ\xE7\xE3o n\xE3o foi gravada.");
  };
  submission_.SubmitCard(Terminal(), "00010100020001");
  EXPECT_EQ(activity_.calls, std::vector<std::string>{refused});

  activity_.calls.clear();
  production_.onWrite = [](const std::string&) {
    throw db::DatabaseError("deadlock", db::DatabaseError::Cause::Conflict);
  };
  submission_.SubmitCard(Terminal(), "00010100020001");
  EXPECT_EQ(activity_.calls, (std::vector<std::string>{"database error deadlock (open)", refused}));

  activity_.calls.clear();
  production_.onWrite = [](const std::string&) {
    throw db::DatabaseError("Error reading data from the connection.", true);
  };
  submission_.SubmitCard(Terminal(), "00010100020001");
  EXPECT_EQ(activity_.calls,
            (std::vector<std::string>{
                "database error Error reading data from the connection. (closed)", refused}));
}

}  // namespace
}  // namespace mts
