#include "ThroughputScenario.h"

#include <unistd.h>

#include <algorithm>
#include <barrier>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "FloorLane.h"
#include "SimulatedTerminal.h"

namespace mts::bench {

namespace {

using Clock = std::chrono::steady_clock;

// The terminals, each on its own thread, posting one card per round when the
// rounds' barrier lets them.
class RoundsOfTerminals {
 public:
  RoundsOfTerminals(const BenchServer& server, int terminals, int rounds)
      : terminals_(terminals),
        rounds_(rounds),
        gate_(terminals + 1),
        answeredAt_(terminals),
        failures_(terminals),
        latencies_(terminals) {
    for (int t = 0; t < terminals; ++t) {
      connected_.push_back(
          std::make_unique<SimulatedTerminal>(server.port(), t, std::chrono::seconds(30)));
    }
    // Every operator is logged in before the first card: a burst of badges
    // typed key by key is not card traffic.
    for (auto& terminal : connected_) terminal->badgeIn(kAssemblyBadge);
    for (int t = 0; t < terminals; ++t) threads_.emplace_back([this, t] { Post(t); });
  }

  ~RoundsOfTerminals() {
    // A round left half-way (an exception in the caller) still needs the
    // threads to meet the barrier: they find `stopping_` and leave.
    stopping_ = true;
    while (roundsRun_ < rounds_) {
      gate_.arrive_and_wait();
      gate_.arrive_and_wait();
      ++roundsRun_;
    }
    for (auto& thread : threads_) thread.join();
  }

  // Runs the next round; the time from its start to the last answer's last
  // byte.
  Clock::duration RunRound() {
    gate_.arrive_and_wait();
    const Clock::time_point start = Clock::now();
    gate_.arrive_and_wait();
    ++roundsRun_;
    for (const std::string& failure : failures_) {
      if (!failure.empty()) throw std::runtime_error("terminal failed: " + failure);
    }
    return *std::max_element(answeredAt_.begin(), answeredAt_.end()) - start;
  }

  // Every card's latency, once the rounds are over.
  std::vector<std::chrono::nanoseconds> Latencies() const {
    std::vector<std::chrono::nanoseconds> all;
    for (const auto& terminal : latencies_) all.insert(all.end(), terminal.begin(), terminal.end());
    return all;
  }

 private:
  void Post(int t) {
    for (int round = 0; round < rounds_; ++round) {
      gate_.arrive_and_wait();
      if (!stopping_ && failures_[t].empty()) {
        try {
          const Clock::time_point sent = Clock::now();
          const auto latency =
              acceptedLatency(*connected_[t], postableCard(round * terminals_ + t));
          answeredAt_[t] = sent + latency;
          latencies_[t].push_back(latency);
        } catch (const std::exception& error) {
          failures_[t] = error.what();
        }
      }
      gate_.arrive_and_wait();
    }
  }

  int terminals_;
  int rounds_;
  std::barrier<> gate_;
  std::vector<std::unique_ptr<SimulatedTerminal>> connected_;
  std::vector<Clock::time_point> answeredAt_;
  std::vector<std::string> failures_;
  // Each thread writes its own entries; the barrier orders them before the
  // reads of this thread.
  std::vector<std::vector<std::chrono::nanoseconds>> latencies_;
  std::vector<std::thread> threads_;
  bool stopping_ = false;
  int roundsRun_ = 0;
};

}  // namespace

ThroughputFigures throughputScenario(const Options& options, FactorySize size, int terminals,
                                     int rounds) {
  size.cards = terminals * rounds;
  BenchServer server(options, Engine::PrivateServer, size,
                     options.workers > 0 ? std::string(kDatabaseWorkersKey) + "=" +
                                               std::to_string(options.workers) + "\n"
                                         : std::string());
  FloorLane floor(size, size.cards);
  try {
    RoundsOfTerminals posting(server, terminals, rounds);
    Clock::duration terminalsTime{0};
    Clock::duration floorTime{0};
    std::vector<std::chrono::nanoseconds> floorLatencies;
    CpuSpent terminalsCpu;
    CpuSpent floorCpu;
    for (int round = 0; round < rounds; ++round) {
      addCpuOf(terminalsCpu, server.pid(), server.firebird().pid(),
               [&] { terminalsTime += posting.RunRound(); });
      addCpuOf(floorCpu, ::getpid(), floor.databasePid(), [&] {
        for (int c = 0; c < terminals; ++c) {
          const auto latency = floor.post(round * terminals + c);
          floorTime += latency;
          floorLatencies.push_back(latency);
        }
      });
    }
    ThroughputFigures figures;
    figures.terminals = summarise(posting.Latencies(), terminalsTime);
    figures.floor = summarise(std::move(floorLatencies), floorTime);
    figures.terminalsCpu = perCard(terminalsCpu, figures.terminals.cards);
    figures.floorCpu = perCard(floorCpu, figures.floor.cards);
    return figures;
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(std::string("throughput: ") + error.what() + "\nmtserver log:\n" +
                             server.log());
  }
}

}  // namespace mts::bench
