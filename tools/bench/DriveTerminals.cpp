#include "DriveTerminals.h"

#include <chrono>
#include <latch>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BenchFactory.h"
#include "SimulatedTerminal.h"

namespace mts::bench {

namespace {
using Clock = std::chrono::steady_clock;
}  // namespace

LatencyFigures driveTerminals(const BenchServer& server, int terminals, int cards, int firstCard) {
  std::vector<std::vector<std::chrono::nanoseconds>> latencies(terminals);
  std::vector<std::string> failures(terminals);
  std::vector<std::unique_ptr<SimulatedTerminal>> connected;
  for (int t = 0; t < terminals; ++t) {
    connected.push_back(
        std::make_unique<SimulatedTerminal>(server.port(), t, std::chrono::seconds(20)));
  }
  // Every operator is logged in before the first card, and all start together:
  // a burst of badges typed key by key is not card traffic, and threads
  // started one after another would give the first ones a head start.
  for (auto& terminal : connected) terminal->badgeIn(kAssemblyBadge);
  std::latch ready(terminals + 1);
  std::vector<std::thread> threads;
  for (int t = 0; t < terminals; ++t) {
    threads.emplace_back([&, t] {
      ready.arrive_and_wait();
      try {
        for (int c = 0; c < cards; ++c) {
          const std::string code = postableCard(firstCard + t * cards + c);
          latencies[t].push_back(acceptedLatency(*connected[t], code));
        }
      } catch (const std::exception& error) {
        failures[t] = error.what();
      }
    });
  }
  ready.arrive_and_wait();
  const Clock::time_point start = Clock::now();
  for (auto& thread : threads) thread.join();
  const auto wall = Clock::now() - start;
  std::vector<std::chrono::nanoseconds> all;
  for (int t = 0; t < terminals; ++t) {
    if (!failures[t].empty()) throw std::runtime_error("terminal failed: " + failures[t]);
    all.insert(all.end(), latencies[t].begin(), latencies[t].end());
  }
  return summarise(all, wall);
}

}  // namespace mts::bench
