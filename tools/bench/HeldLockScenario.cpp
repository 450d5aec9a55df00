#include "HeldLockScenario.h"

#include <atomic>
#include <latch>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "SimulatedTerminal.h"

namespace mts::bench {

namespace {

using Clock = std::chrono::steady_clock;

// The demo factory's card of order item 00004501/001, and the badges of
// assembly (30), finishing (40) and dispatch (50), which takes it to stock.
const char* kDemoCard = "00010100010000";
const char* kFinishingBadge = "1005";
const char* kDispatchBadge = "1006";
const char* kHeldItem =
    "update ITENSPV set SIT_IT = SIT_IT where PEDIDO_IT = :PEDIDO and ITEM_IT = :ITEM";
// The terminal that keeps trying the dispatch card; the posting terminals use
// 127.1.x.y.
const char* kBlockedTerminalAddress = "127.0.0.5";

// The posting terminals, each with its share of the generated cards, and how
// far each has got in it.
struct PostingFloor {
  std::vector<std::unique_ptr<SimulatedTerminal>> terminals;
  std::vector<int> posted;
  int cardsPerTerminal = 0;
};

// Every posting terminal posts its next cards, all starting together, until
// `duration` has passed (or its share runs out).
LatencyFigures postFor(PostingFloor& floor, std::chrono::milliseconds duration) {
  const int count = static_cast<int>(floor.terminals.size());
  std::vector<std::vector<std::chrono::nanoseconds>> latencies(count);
  std::vector<std::string> failures(count);
  std::latch ready(count + 1);
  std::vector<std::thread> threads;
  Clock::time_point end{};
  for (int t = 0; t < count; ++t) {
    threads.emplace_back([&, t] {
      ready.arrive_and_wait();
      try {
        while (Clock::now() < end && floor.posted[t] < floor.cardsPerTerminal) {
          const int card = t * floor.cardsPerTerminal + floor.posted[t]++;
          latencies[t].push_back(acceptedLatency(*floor.terminals[t], postableCard(card)));
        }
      } catch (const std::exception& error) {
        failures[t] = error.what();
      }
    });
  }
  const Clock::time_point start = Clock::now();
  end = start + duration;
  ready.arrive_and_wait();
  for (auto& thread : threads) thread.join();
  std::vector<std::chrono::nanoseconds> all;
  for (int t = 0; t < count; ++t) {
    if (!failures[t].empty()) throw std::runtime_error("terminal failed: " + failures[t]);
    all.insert(all.end(), latencies[t].begin(), latencies[t].end());
  }
  return summarise(all, Clock::now() - start);
}

void postUntimed(SimulatedTerminal& terminal, const std::string& badge) {
  terminal.badgeIn(badge);
  const SimulatedTerminal::CardAnswer answer = terminal.postCard(kDemoCard);
  if (answer.refused) {
    throw std::runtime_error(std::string("demo card ") + kDemoCard + " refused by badge " + badge +
                             ": " + answer.detail);
  }
  terminal.logOut();
}

}  // namespace

HeldLockFigures heldLockScenario(const Options& options, FactorySize size,
                                 const HeldLockPlan& plan) {
  size.cards = plan.postingTerminals * plan.cardsPerTerminal;
  BenchServer server(options, Engine::PrivateServer, size,
                     "TEMPO-ESPERA-BLOQUEIO=" + std::to_string(plan.lockTimeoutSeconds) + "\n");
  // Long enough for a card queued behind every lock wait of the hold.
  const auto timeout = plan.hold + std::chrono::seconds(4 * plan.lockTimeoutSeconds + 20);
  try {
    SimulatedTerminal blocked(server.port(), kBlockedTerminalAddress, timeout);
    postUntimed(blocked, kAssemblyBadge);
    postUntimed(blocked, kFinishingBadge);
    blocked.badgeIn(kDispatchBadge);

    PostingFloor floor;
    floor.cardsPerTerminal = plan.cardsPerTerminal;
    floor.posted.assign(plan.postingTerminals, 0);
    for (int t = 0; t < plan.postingTerminals; ++t) {
      floor.terminals.push_back(std::make_unique<SimulatedTerminal>(server.port(), t, timeout));
      floor.terminals.back()->badgeIn(kAssemblyBadge);
    }

    HeldLockFigures figures;
    figures.unhindered = postFor(floor, plan.unhindered);

    db::Connection office(server.databaseSettings());
    office.startTransaction();
    office.execute(kHeldItem, {{"PEDIDO", "00004501"}, {"ITEM", "001"}});
    std::atomic<bool> holding{true};
    std::string blockedFailure;
    std::thread trying([&] {
      try {
        while (holding) {
          ++figures.blockedAttempts;
          if (!blocked.postCard(kDemoCard).refused) break;
        }
      } catch (const std::exception& error) {
        blockedFailure = error.what();
      }
    });
    try {
      figures.held = postFor(floor, plan.hold);
    } catch (...) {
      holding = false;
      office.rollback();
      trying.join();
      throw;
    }
    holding = false;
    office.rollback();
    trying.join();
    if (!blockedFailure.empty()) {
      throw std::runtime_error("the terminal trying the held item failed: " + blockedFailure);
    }
    return figures;
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(std::string("held lock: ") + error.what() + "\nmtserver log:\n" +
                             server.log());
  }
}

}  // namespace mts::bench
