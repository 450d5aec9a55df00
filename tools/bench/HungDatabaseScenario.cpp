#include "HungDatabaseScenario.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "SimulatedTerminal.h"

namespace mts::bench {

namespace {

using Clock = std::chrono::steady_clock;

// How long past the database's return a key may still wait for its echo.
constexpr std::chrono::seconds kEchoGrace{5};

// Freezes the database server until thaw() or the end of the object: whatever
// happens, the server is running again afterwards.
class FrozenDatabase {
 public:
  explicit FrozenDatabase(test::PrivateFirebirdServer& firebird) : firebird_(firebird) {
    firebird_.pause();
  }
  ~FrozenDatabase() { thaw(); }
  FrozenDatabase(const FrozenDatabase&) = delete;
  FrozenDatabase& operator=(const FrozenDatabase&) = delete;

  void thaw() {
    if (frozen_) firebird_.resume();
    frozen_ = false;
  }

 private:
  test::PrivateFirebirdServer& firebird_;
  bool frozen_ = true;
};

}  // namespace

HungDatabaseFigures hungDatabaseScenario(const Options& options, FactorySize size,
                                         const HungDatabasePlan& plan) {
  size.cards = 1;
  BenchServer server(options, Engine::PrivateServer, size);
  const std::chrono::milliseconds echoWait =
      plan.stop + std::chrono::duration_cast<std::chrono::milliseconds>(kEchoGrace);
  try {
    std::vector<std::unique_ptr<SimulatedTerminal>> terminals;
    for (int t = 0; t < plan.terminals; ++t) {
      terminals.push_back(std::make_unique<SimulatedTerminal>(server.port(), t, echoWait * 2));
      terminals.back()->badgeIn(kAssemblyBadge);
    }
    const int typists = plan.terminals - 1;
    std::vector<std::vector<std::chrono::nanoseconds>> echoes(typists);
    std::vector<int> unechoed(typists, 0);
    std::vector<std::string> failures(typists);
    FrozenDatabase frozen(server.firebird());
    const Clock::time_point resumes = Clock::now() + plan.stop;
    terminals[0]->submitCard(postableCard(0));
    std::vector<std::thread> threads;
    for (int t = 0; t < typists; ++t) {
      threads.emplace_back([&, t] {
        SimulatedTerminal& terminal = *terminals[t + 1];
        try {
          // A digit and its erasure, over and over: every key has an echo and
          // the entry never grows. The last key may wait past the thaw.
          for (int k = 0; Clock::now() < resumes; ++k) {
            const auto echo = terminal.echoOf(k % 2 == 0 ? '1' : '\b', echoWait);
            echoes[t].push_back(echo.value_or(echoWait));
            if (!echo) ++unechoed[t];
            std::this_thread::sleep_for(plan.keyGap);
          }
        } catch (const std::exception& error) {
          failures[t] = error.what();
        }
      });
    }
    std::this_thread::sleep_until(resumes);
    frozen.thaw();
    for (auto& thread : threads) thread.join();

    HungDatabaseFigures figures;
    std::vector<std::chrono::nanoseconds> all;
    for (int t = 0; t < typists; ++t) {
      if (!failures[t].empty()) throw std::runtime_error("terminal failed: " + failures[t]);
      all.insert(all.end(), echoes[t].begin(), echoes[t].end());
      figures.unechoed += unechoed[t];
    }
    figures.echoes = summarise(all, plan.stop);
    figures.cardAnswered = terminals[0]->waitFor("ATUALIZAD");
    return figures;
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(std::string("hung database: ") + error.what() + "\nmtserver log:\n" +
                             server.log());
  }
}

}  // namespace mts::bench
