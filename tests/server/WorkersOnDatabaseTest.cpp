// The database workers on the demo factory through a private Firebird server,
// as a factory runs them: each worker with its own connection and production
// module, answers back on the test's loop.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "production/CardLock.h"
#include "server/FailureWords.h"
#include "server/ModuleWorkerProduction.h"
#include "server/ProductionWorkers.h"
#include "support/DatabaseRows.h"
#include "support/DemoFactory.h"
#include "support/PrivateFirebirdServer.h"
#include "support/TestLoop.h"

namespace mts {
namespace {

using namespace std::chrono_literals;

// The demo's assembly operator and a whole card he may post once.
constexpr const char* kBadge = "1004";
constexpr const char* kCard = "00010100010000";

class WorkersOnDatabase : public testing::Test {
 protected:
  void StartWorkers(ProductionWorkersSettings settings) {
    const db::ConnectionSettings connection = server_.settings(database_.path());
    workers_ = std::make_unique<ProductionWorkers>(
        settings,
        [connection](std::size_t) { return std::make_unique<ModuleWorkerProduction>(connection); },
        [this](std::function<void()> work) { loop_.Post(std::move(work)); },
        [this](const DatabaseState& state) { states_.push_back(state); });
  }

  BadgeOutcome LookUp(const std::string& badge) {
    std::optional<BadgeOutcome> answer;
    workers_->LookUpBadge(badge, [&](BadgeOutcome outcome) { answer = std::move(outcome); });
    EXPECT_TRUE(loop_.RunUntil([&] { return answer.has_value(); }));
    return answer.value_or(BadgeOutcome{});
  }

  CardRequest Card(const BadgeOutcome& employee) const {
    return {kCard, employee.code, employee.sector};
  }

  long Postings() {
    db::Connection connection(server_.settings(database_.path()));
    return test::countRows(connection, "PRODUCAO_SETOR",
                           "PROG_PS = '000101' and FICHA_PS = '0001' and SETOR_PS = '30'");
  }

  bool LastStateUp() const { return !states_.empty() && states_.back().up; }

  test::DemoFactoryDatabase database_;
  test::PrivateFirebirdServer server_;
  test::TestLoop loop_;
  std::vector<DatabaseState> states_;
  std::unique_ptr<ProductionWorkers> workers_;
};

TEST_F(WorkersOnDatabase, TheSameCardFromFourTerminalsAtOnceIsPostedOnce) {
  StartWorkers({});
  const BadgeOutcome employee = LookUp(kBadge);
  ASSERT_TRUE(employee.found);
  ASSERT_TRUE(loop_.RunUntil([&] { return LastStateUp(); }));

  std::vector<CardOutcome> answers;
  for (int terminal = 0; terminal < 4; ++terminal) {
    workers_->PostCard(Card(employee),
                       [&](CardOutcome outcome) { answers.push_back(std::move(outcome)); });
  }
  ASSERT_TRUE(loop_.RunUntil([&] { return answers.size() == 4; }));

  int posted = 0;
  for (const CardOutcome& answer : answers) {
    EXPECT_FALSE(answer.failure);
    if (answer.answer.Sucesso) {
      ++posted;
    } else {
      EXPECT_EQ(answer.answer.Mensagem.rfind("Ficha j\xE1 atualizada no setor", 0), 0u)
          << answer.answer.Mensagem;
    }
  }
  EXPECT_EQ(posted, 1);
  workers_->Stop();
  EXPECT_EQ(Postings(), 1);
}

// A card waiting on a row held elsewhere (the office's program, a second
// server) keeps its worker; a reserve answers the other terminals meanwhile.
TEST_F(WorkersOnDatabase, AReserveAnswersTheOthersWhileACardWaitsOnAHeldRow) {
  ProductionWorkersSettings settings;
  settings.workers = 1;
  settings.reserves = 1;
  settings.heldAfter = 200ms;
  StartWorkers(settings);
  const BadgeOutcome employee = LookUp(kBadge);
  ASSERT_TRUE(employee.found);

  db::Connection office(server_.settings(database_.path()));
  office.startTransaction();
  office.query("select ID_BF from BLOQUEIO_FICHA where ID_BF = :SLOT with lock",
               {{"SLOT", CardLockSlot("FICHA 000101/0001")}});
  std::optional<CardOutcome> card;
  workers_->PostCard(Card(employee), [&](CardOutcome outcome) { card = std::move(outcome); });
  loop_.RunFor(300ms);
  ASSERT_FALSE(card.has_value()) << "the card waits for the row";

  EXPECT_TRUE(LookUp(kBadge).found) << "answered beside the waiting card";
  EXPECT_FALSE(card.has_value());

  office.rollback();
  ASSERT_TRUE(loop_.RunUntil([&] { return card.has_value(); }));
  EXPECT_FALSE(card->failure);
  EXPECT_TRUE(card->answer.Sucesso) << card->answer.Mensagem;
  workers_->Stop();
  EXPECT_EQ(Postings(), 1);
}

// A database server that stops answering (a hung host): the card is cancelled
// at its deadline and answered as a database error with nothing recorded; the
// next requests are answered at once; once the server answers again the
// workers find it by themselves and the card posts.
TEST_F(WorkersOnDatabase, AFrozenServerIsAnsweredByTheDeadlineAndFoundAgain) {
  ProductionWorkersSettings settings;
  settings.workers = 2;
  settings.deadline = 1s;
  settings.hardCancelAfter = 500ms;
  settings.healthInterval = 200ms;
  StartWorkers(settings);
  const BadgeOutcome employee = LookUp(kBadge);
  ASSERT_TRUE(employee.found);

  server_.pause();
  std::optional<CardOutcome> frozen;
  const auto sent = std::chrono::steady_clock::now();
  workers_->PostCard(Card(employee), [&](CardOutcome outcome) { frozen = std::move(outcome); });
  ASSERT_TRUE(loop_.RunUntil([&] { return frozen.has_value(); }));
  EXPECT_LT(std::chrono::steady_clock::now() - sent, 10s);
  ASSERT_TRUE(frozen->failure);
  EXPECT_FALSE(frozen->answer.Sucesso);

  // Known out of reach now: a badge does not wait on the database.
  ASSERT_TRUE(loop_.RunUntil([&] { return !states_.empty() && !states_.back().up; }));
  const auto asked = std::chrono::steady_clock::now();
  const BadgeOutcome refused = LookUp(kBadge);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 500ms);
  ASSERT_TRUE(refused.failure);

  server_.resume();
  ASSERT_TRUE(loop_.RunUntil([&] { return LastStateUp(); }));
  EXPECT_EQ(Postings(), 0) << "nothing of the cancelled card";
  std::optional<CardOutcome> again;
  workers_->PostCard(Card(employee), [&](CardOutcome outcome) { again = std::move(outcome); });
  ASSERT_TRUE(loop_.RunUntil([&] { return again.has_value(); }));
  EXPECT_FALSE(again->failure);
  EXPECT_TRUE(again->answer.Sucesso) << again->answer.Mensagem;
  workers_->Stop();
  EXPECT_EQ(Postings(), 1);
}

// A server killed while the floor is idle is seen down by the health check
// within seconds, and up again once it is back, with no badge needed.
TEST_F(WorkersOnDatabase, TheHealthCheckFollowsAKilledAndRestartedServer) {
  ProductionWorkersSettings settings;
  settings.workers = 2;
  settings.healthInterval = 200ms;
  StartWorkers(settings);
  ASSERT_TRUE(loop_.RunUntil([&] { return LastStateUp(); }));

  server_.kill();
  ASSERT_TRUE(loop_.RunUntil([&] { return !states_.back().up; }, 10s));
  server_.start();
  ASSERT_TRUE(loop_.RunUntil([&] { return LastStateUp(); }, 20s));
  EXPECT_TRUE(LookUp(kBadge).found);
}

}  // namespace
}  // namespace mts
