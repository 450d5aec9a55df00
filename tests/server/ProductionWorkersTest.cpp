// The database workers against a fake production whose calls the test can
// hold at a gate, make fail, and watch being cancelled; answers come back on
// a loop the test thread drains.
#include "server/ProductionWorkers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "dataaccess/firebird/DatabaseError.h"
#include "support/TestLoop.h"

namespace mts {
namespace {

using test::TestLoop;

using namespace std::chrono_literals;

// Generous: waits end as soon as their condition holds.
constexpr std::chrono::milliseconds kPatience = 10s;
constexpr std::chrono::milliseconds kNever = std::chrono::hours(1);

// How a badge or card code answers when it reaches the fake database.
struct Reaction {
  std::exception_ptr failure;
  bool thrown = false;  // throws it, against the contract, instead of returning it
};

// The database behind every worker's fake production, driven by the test.
struct FakeDatabase {
  std::mutex mutex;
  std::condition_variable changed;

  // What the test sets.
  bool gateOpen = true;        // badges and cards wait while it is closed
  std::set<std::string> held;  // and these codes while they are listed (a row held elsewhere)
  bool startsAtGate = false;   // Start waits for the gate too
  int startFailures = 0;       // Start fails this many more times
  bool checkFails = false;
  bool ignoresSoftCancel = false;  // only giving up the link ends a call
  std::map<std::string, Reaction> reactions;

  // What happened.
  int made = 0;
  int destroyed = 0;
  int starts = 0;
  int checks = 0;
  std::vector<std::string> ran;       // codes, in the order their calls began
  std::vector<std::string> returned;  // codes whose call has returned
  int running = 0;
  int mostRunning = 0;
  std::vector<bool> cancels;  // hard or not, in order
  std::set<std::thread::id> cancelThreads;
  std::set<std::thread::id> workerThreads;
  int strayCancels = 0;  // a Cancel with no call in progress

  template <class Condition>
  bool WaitFor(Condition condition) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, kPatience, condition);
  }
  void Set(const std::function<void()>& change) {
    {
      std::lock_guard lock(mutex);
      change();
    }
    changed.notify_all();
  }
  template <class T>
  T Read(const std::function<T()>& read) {
    std::lock_guard lock(mutex);
    return read();
  }
};

class FakeProduction final : public WorkerProduction {
 public:
  explicit FakeProduction(FakeDatabase& db) : db_(db), thread_(std::this_thread::get_id()) {
    std::lock_guard lock(db_.mutex);
    ++db_.made;
    db_.workerThreads.insert(thread_);
  }
  ~FakeProduction() override {
    db_.Set([&] { ++db_.destroyed; });
  }

  void Start() override {
    std::unique_lock lock(db_.mutex);
    Enter();
    ++db_.starts;
    db_.changed.notify_all();
    if (db_.startsAtGate) db_.changed.wait(lock, [&] { return db_.gateOpen; });
    inCall_ = false;
    if (db_.startFailures > 0) {
      --db_.startFailures;
      throw db::DatabaseError("Unable to complete network request to host", true);
    }
  }

  void CheckDatabase() override {
    std::lock_guard lock(db_.mutex);
    Enter();
    ++db_.checks;
    db_.changed.notify_all();
    inCall_ = false;
    if (db_.checkFails) throw db::DatabaseError("Connection refused", true);
  }

  BadgeOutcome LookUpBadge(const std::string& badge) override {
    BadgeOutcome outcome;
    outcome.failure = Call(badge);
    if (!outcome.failure) {
      outcome.found = true;
      outcome.code = badge;
      outcome.name = "EMPLOYEE " + badge;
    }
    Returned(badge);
    return outcome;
  }

  CardOutcome PostCard(const CardRequest& request) override {
    CardOutcome outcome;
    outcome.failure = Call(request.code);
    if (!outcome.failure) {
      outcome.answer.Sucesso = true;
      outcome.postedKind = "F";
      outcome.sector = request.employeeSector;
    }
    Returned(request.code);
    return outcome;
  }

  void Cancel(bool hard) override {
    std::lock_guard lock(db_.mutex);
    db_.cancels.push_back(hard);
    db_.cancelThreads.insert(std::this_thread::get_id());
    if (!inCall_) ++db_.strayCancels;
    cancelled_ = std::max(cancelled_, hard ? 2 : 1);
    db_.changed.notify_all();
  }

 private:
  void Enter() {
    EXPECT_EQ(std::this_thread::get_id(), thread_) << "used off its worker's thread";
    inCall_ = true;
    cancelled_ = 0;
  }

  // Waits at the gate, or until cancelled; the failure the call answers.
  std::exception_ptr Call(const std::string& code) {
    std::unique_lock lock(db_.mutex);
    Enter();
    db_.ran.push_back(code);
    db_.mostRunning = std::max(db_.mostRunning, ++db_.running);
    db_.changed.notify_all();
    const int enough = db_.ignoresSoftCancel ? 2 : 1;
    db_.changed.wait(
        lock, [&] { return (db_.gateOpen && db_.held.count(code) == 0) || cancelled_ >= enough; });
    --db_.running;
    const int cancelled = cancelled_;
    if (cancelled >= enough) {
      // The rollback takes a moment: an answer sent before the call returns
      // would show.
      lock.unlock();
      std::this_thread::sleep_for(50ms);
      lock.lock();
      inCall_ = false;
      return std::make_exception_ptr(cancelled == 2 ? db::DatabaseError("connection shutdown", true)
                                                    : db::DatabaseError("operation was cancelled"));
    }
    inCall_ = false;
    const auto reaction = db_.reactions.find(code);
    if (reaction == db_.reactions.end()) return nullptr;
    if (reaction->second.thrown) {
      db_.returned.push_back(code);
      db_.changed.notify_all();
      std::rethrow_exception(reaction->second.failure);
    }
    return reaction->second.failure;
  }

  void Returned(const std::string& code) {
    db_.Set([&] { db_.returned.push_back(code); });
  }

  FakeDatabase& db_;
  std::thread::id thread_;
  bool inCall_ = false;  // guarded by db_.mutex
  int cancelled_ = 0;    // guarded by db_.mutex
};

std::string What(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    return e.what();
  }
}

bool Lost(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const db::DatabaseError& e) {
    return e.connectionLost();
  } catch (...) {
    return false;
  }
}

class ProductionWorkersTest : public ::testing::Test {
 protected:
  static ProductionWorkersSettings Settings(std::size_t workers) {
    ProductionWorkersSettings settings;
    settings.workers = workers;
    settings.deadline = kNever;
    settings.healthInterval = kNever;
    return settings;
  }

  std::unique_ptr<ProductionWorkers> Make(ProductionWorkersSettings settings) {
    return std::make_unique<ProductionWorkers>(
        settings, [this](std::size_t) { return std::make_unique<FakeProduction>(db_); },
        [this](std::function<void()> work) { loop_.Post(std::move(work)); },
        [this](const DatabaseState& state) {
          EXPECT_EQ(std::this_thread::get_id(), loop_.thread);
          states_.push_back(state);
        });
  }

  // Looks a badge up; its answer lands in badges_, checked to come on the loop.
  void Badge(ProductionWorkers& workers, const std::string& badge) {
    workers.LookUpBadge(badge, [this, badge](BadgeOutcome outcome) {
      EXPECT_EQ(std::this_thread::get_id(), loop_.thread) << "answered off the loop";
      answered_.push_back(badge);
      badges_.emplace(badge, std::move(outcome));
    });
  }

  bool Answered(std::size_t count) {
    return loop_.RunUntil([&] { return answered_.size() >= count; });
  }

  std::vector<bool> Ups() const {
    std::vector<bool> ups;
    for (const DatabaseState& state : states_) ups.push_back(state.up);
    return ups;
  }

  FakeDatabase db_;
  TestLoop loop_;
  std::vector<DatabaseState> states_;
  std::vector<std::string> answered_;
  std::map<std::string, BadgeOutcome> badges_;
};

TEST_F(ProductionWorkersTest, StartsInTheBackgroundAndAnswersOnTheLoop) {
  db_.startsAtGate = true;
  db_.gateOpen = false;
  auto workers = Make(Settings(2));
  ASSERT_TRUE(db_.WaitFor([&] { return db_.starts == 2; })) << "each worker attaches at once";
  EXPECT_FALSE(workers->State().up);

  // Requests queue while the workers are still attaching.
  Badge(*workers, "1001");
  std::vector<CardOutcome> cards;
  workers->PostCard({"C-77", "1001", "MONTAGEM"}, [&](CardOutcome outcome) {
    EXPECT_EQ(std::this_thread::get_id(), loop_.thread) << "answered off the loop";
    cards.push_back(std::move(outcome));
  });
  loop_.RunFor(50ms);
  EXPECT_TRUE(answered_.empty());

  db_.Set([&] { db_.gateOpen = true; });
  ASSERT_TRUE(loop_.RunUntil([&] { return answered_.size() == 1 && cards.size() == 1; }));
  EXPECT_TRUE(badges_["1001"].found);
  EXPECT_EQ(badges_["1001"].name, "EMPLOYEE 1001");
  EXPECT_FALSE(badges_["1001"].failure);
  EXPECT_TRUE(cards[0].answer.Sucesso);
  EXPECT_EQ(cards[0].sector, "MONTAGEM");

  ASSERT_TRUE(loop_.RunUntil([&] { return !states_.empty(); }));
  EXPECT_EQ(Ups(), std::vector<bool>{true}) << "the second worker's start is no change";
  EXPECT_TRUE(workers->State().up);
  std::lock_guard lock(db_.mutex);
  EXPECT_EQ(db_.made, 2);
  EXPECT_EQ(db_.workerThreads.size(), 2u) << "each production on a thread of its own";
  EXPECT_FALSE(db_.workerThreads.count(loop_.thread));
}

TEST_F(ProductionWorkersTest, RunsSideBySideUpToTheNumberOfWorkers) {
  const struct {
    std::size_t workers;
    int together;
  } cases[] = {{1, 1}, {2, 2}, {3, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.workers);
    db_.Set([&] {
      db_.gateOpen = false;
      db_.mostRunning = 0;
    });
    answered_.clear();
    auto workers = Make(Settings(c.workers));
    for (const char* badge : {"1", "2", "3", "4"}) Badge(*workers, badge);
    EXPECT_TRUE(db_.WaitFor([&] { return db_.running == c.together; }));
    loop_.RunFor(50ms);
    EXPECT_EQ(db_.Read<int>([&] { return db_.mostRunning; }), c.together);
    db_.Set([&] { db_.gateOpen = true; });
    EXPECT_TRUE(Answered(4));
    EXPECT_EQ(db_.Read<int>([&] { return db_.mostRunning; }), c.together);
  }
}

TEST_F(ProductionWorkersTest, OneWorkerRunsRequestsInTheOrderTheyArrive) {
  db_.gateOpen = false;
  auto workers = Make(Settings(1));
  const std::vector<std::string> order = {"5", "3", "9", "1", "7"};
  for (const std::string& badge : order) Badge(*workers, badge);
  ASSERT_TRUE(db_.WaitFor([&] { return db_.running == 1; }));
  db_.Set([&] { db_.gateOpen = true; });
  ASSERT_TRUE(Answered(order.size()));
  EXPECT_EQ(answered_, order);
  EXPECT_EQ(db_.Read<std::vector<std::string>>([&] { return db_.ran; }), order);
}

// A card waiting on a row held elsewhere keeps its worker; a reserve serves
// the others meanwhile, one per held call, and lets its connection go once
// idle. Without held calls the reserves stay out of it.
TEST_F(ProductionWorkersTest, ReservesStandInForWorkersHeldByOneCall) {
  ProductionWorkersSettings settings = Settings(1);
  settings.reserves = 1;
  settings.heldAfter = 100ms;
  settings.reserveIdle = 200ms;
  db_.held = {"HELD"};
  auto workers = Make(settings);
  ASSERT_TRUE(db_.WaitFor([&] { return db_.starts == 1; }))
      << "a reserve connects only when needed";

  Badge(*workers, "HELD");
  ASSERT_TRUE(db_.WaitFor([&] { return db_.running == 1; }));
  Badge(*workers, "2");
  Badge(*workers, "3");
  ASSERT_TRUE(Answered(2)) << "served beside the held call";
  EXPECT_EQ(answered_, (std::vector<std::string>{"2", "3"}));
  EXPECT_EQ(db_.Read<int>([&] { return db_.made; }), 2);

  db_.Set([&] { db_.held.clear(); });
  ASSERT_TRUE(Answered(3));
  ASSERT_TRUE(db_.WaitFor([&] { return db_.destroyed == 1; })) << "the idle reserve lets go";

  // A call that is merely running is not held: the next request waits for it.
  db_.Set([&] { db_.gateOpen = false; });
  settings.heldAfter = kNever;
  auto patient = Make(settings);
  Badge(*patient, "4");
  ASSERT_TRUE(db_.WaitFor([&] { return db_.running == 1; }));
  Badge(*patient, "5");
  loop_.RunFor(300ms);
  EXPECT_EQ(db_.Read<int>([&] { return db_.running; }), 1);
  db_.Set([&] { db_.gateOpen = true; });
  ASSERT_TRUE(Answered(5));
}

TEST_F(ProductionWorkersTest, ARequestPastItsDeadlineIsCancelledAndAnsweredOnceItReturns) {
  const struct {
    const char* name;
    bool ignoresSoftCancel;
    std::vector<bool> cancels;  // hard or not
    bool lost;
  } cases[] = {
      {"the cancel ends it", false, {false}, false},
      {"only giving up the link ends it", true, {false, true}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    db_.Set([&] {
      db_.gateOpen = false;
      db_.ignoresSoftCancel = c.ignoresSoftCancel;
      db_.cancels.clear();
      db_.cancelThreads.clear();
      db_.returned.clear();
    });
    answered_.clear();
    badges_.clear();
    states_.clear();
    ProductionWorkersSettings settings = Settings(1);
    settings.deadline = 100ms;
    settings.hardCancelAfter = 100ms;
    auto workers = Make(settings);

    bool returnedFirst = false;
    workers->LookUpBadge("2002", [&](BadgeOutcome outcome) {
      returnedFirst =
          db_.Read<bool>([&] { return db_.returned == std::vector<std::string>{"2002"}; });
      answered_.push_back("2002");
      badges_.emplace("2002", std::move(outcome));
    });
    ASSERT_TRUE(Answered(1));
    EXPECT_TRUE(returnedFirst) << "answered before the call returned";
    ASSERT_TRUE(badges_["2002"].failure);
    EXPECT_EQ(Lost(badges_["2002"].failure), c.lost);

    // No further cancels once the call has returned.
    loop_.RunFor(300ms);
    std::lock_guard lock(db_.mutex);
    EXPECT_EQ(db_.cancels, c.cancels);
    EXPECT_EQ(db_.strayCancels, 0);
    ASSERT_EQ(db_.cancelThreads.size(), 1u);
    EXPECT_FALSE(db_.workerThreads.count(*db_.cancelThreads.begin())) << "cancelled by the watcher";
    EXPECT_NE(*db_.cancelThreads.begin(), loop_.thread);
    EXPECT_EQ(Ups(), (c.lost ? std::vector<bool>{true, false} : std::vector<bool>{true}));
  }
}

TEST_F(ProductionWorkersTest, WhileDownRequestsAreAnsweredAtOnceUntilTheCheckFindsItBack) {
  db_.reactions["lost"] = {
      std::make_exception_ptr(db::DatabaseError("Error writing data to the connection", true))};
  db_.checkFails = true;
  ProductionWorkersSettings settings = Settings(1);
  settings.healthInterval = 50ms;
  auto workers = Make(settings);

  Badge(*workers, "lost");
  ASSERT_TRUE(Answered(1));
  ASSERT_TRUE(loop_.RunUntil([&] { return states_.size() == 2; }));
  EXPECT_EQ(Ups(), (std::vector<bool>{true, false}));
  EXPECT_EQ(states_.back().detail, "Error writing data to the connection");
  EXPECT_FALSE(workers->State().up);

  Badge(*workers, "3003");
  ASSERT_TRUE(Answered(2));
  ASSERT_TRUE(badges_["3003"].failure);
  EXPECT_TRUE(Lost(badges_["3003"].failure));
  EXPECT_NE(What(badges_["3003"].failure).find("out of reach"), std::string::npos);
  EXPECT_NE(What(badges_["3003"].failure).find("Error writing data"), std::string::npos);

  // Checks go on while down, failing, without reporting the same state again.
  ASSERT_TRUE(db_.WaitFor([&] { return db_.checks >= 3; }));
  loop_.RunFor(50ms);
  EXPECT_EQ(states_.size(), 2u);

  db_.Set([&] { db_.checkFails = false; });
  ASSERT_TRUE(loop_.RunUntil([&] { return states_.size() == 3; }));
  EXPECT_TRUE(states_.back().up);
  EXPECT_TRUE(workers->State().up);

  Badge(*workers, "3004");
  ASSERT_TRUE(Answered(3));
  EXPECT_TRUE(badges_["3004"].found);
  EXPECT_EQ(db_.Read<std::vector<std::string>>([&] { return db_.ran; }),
            (std::vector<std::string>{"lost", "3004"}))
      << "the request made while down never reached the database";
}

TEST_F(ProductionWorkersTest, AStartThatFailsIsTriedAgainUntilItSucceeds) {
  db_.startFailures = 2;
  ProductionWorkersSettings settings = Settings(1);
  settings.healthInterval = 50ms;
  auto workers = Make(settings);

  ASSERT_TRUE(loop_.RunUntil([&] { return states_.size() == 2; }));
  EXPECT_EQ(Ups(), (std::vector<bool>{false, true}));
  EXPECT_NE(states_.front().detail.find("network request"), std::string::npos);

  Badge(*workers, "4004");
  ASSERT_TRUE(Answered(1));
  EXPECT_TRUE(badges_["4004"].found);
  std::lock_guard lock(db_.mutex);
  EXPECT_EQ(db_.starts, 3);
  EXPECT_EQ(db_.made, 1) << "the same production is started again";
}

TEST_F(ProductionWorkersTest, AFailedCallIsTheAnswerAndTheWorkerGoesOn) {
  const struct {
    const char* name;
    Reaction reaction;
    const char* what;
  } cases[] = {
      {"returned conflict",
       {std::make_exception_ptr(db::DatabaseError("deadlock", db::DatabaseError::Cause::Conflict))},
       "deadlock"},
      {"thrown against the contract",
       {std::make_exception_ptr(std::runtime_error("bad row")), true},
       "bad row"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    answered_.clear();
    badges_.clear();
    states_.clear();
    db_.Set([&] { db_.reactions["bad"] = c.reaction; });
    auto workers = Make(Settings(1));
    Badge(*workers, "bad");
    Badge(*workers, "good");
    ASSERT_TRUE(Answered(2));
    ASSERT_TRUE(badges_["bad"].failure);
    EXPECT_EQ(What(badges_["bad"].failure), c.what);
    EXPECT_FALSE(badges_["bad"].found);
    EXPECT_TRUE(badges_["good"].found);
    loop_.RunFor(20ms);
    EXPECT_EQ(Ups(), std::vector<bool>{true}) << "the database did answer";
  }
}

TEST_F(ProductionWorkersTest, StopLetsTheRunningRequestEndAndDropsTheRest) {
  auto workers = Make(Settings(1));
  auto token = std::make_shared<int>(0);  // held by every answer not yet let go
  int answers = 0;
  const auto count = [&] { return [&answers, token](BadgeOutcome) { ++answers; }; };

  // One answer already waits on the loop when Stop comes: it must not run.
  workers->LookUpBadge("answered", count());
  ASSERT_TRUE(db_.WaitFor([&] { return !db_.returned.empty(); }));
  ASSERT_TRUE(loop_.WaitForPending(2)) << "the state and the answer";

  db_.Set([&] { db_.gateOpen = false; });
  for (const char* badge : {"running", "queued1", "queued2"}) workers->LookUpBadge(badge, count());
  ASSERT_TRUE(db_.WaitFor([&] { return db_.running == 1; }));

  std::thread opener([&] {
    std::this_thread::sleep_for(200ms);
    db_.Set([&] { db_.gateOpen = true; });
  });
  workers->Stop();
  opener.join();

  {
    std::lock_guard lock(db_.mutex);
    EXPECT_EQ(db_.returned, (std::vector<std::string>{"answered", "running"}))
        << "Stop waited for the running call";
    EXPECT_EQ(db_.ran, (std::vector<std::string>{"answered", "running"}))
        << "queued requests never ran";
    EXPECT_EQ(db_.destroyed, db_.made) << "every worker ended";
  }
  workers->Stop();
  workers->LookUpBadge("late", count());
  loop_.RunFor(100ms);
  EXPECT_EQ(answers, 0);
  EXPECT_TRUE(states_.empty());
  workers.reset();
  EXPECT_EQ(token.use_count(), 1) << "dropped answers are let go";
}

}  // namespace
}  // namespace mts
