#include "SideBySideScenario.h"

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "FloorLane.h"
#include "SimulatedTerminal.h"

namespace mts::bench {

namespace {

// A lane of an interleaved run: posts its card number `c`, returns the latency.
using Lane = std::function<std::chrono::nanoseconds(int)>;

// Posts one card on each lane in turn, round after round, so that every lane
// samples the same stretches of time: a slow drift of the machine (disk
// flushes, other work) weighs on both sides of each ratio alike. A lane's
// cards/s is over the time spent on its own cards.
std::vector<LatencyFigures> interleave(const std::vector<Lane>& lanes, int cards) {
  std::vector<std::vector<std::chrono::nanoseconds>> latencies(lanes.size());
  for (int c = 0; c < cards; ++c) {
    for (std::size_t l = 0; l < lanes.size(); ++l) latencies[l].push_back(lanes[l](c));
  }
  std::vector<LatencyFigures> figures;
  for (auto& lane : latencies) {
    std::chrono::nanoseconds spent{0};
    for (const auto latency : lane) spent += latency;
    figures.push_back(summarise(std::move(lane), spent));
  }
  return figures;
}

}  // namespace

SideBySide sideBySideScenario(const Options& options, FactorySize base, FactorySize manyEmployees,
                              FactorySize longHistory, int cards) {
  base.cards = manyEmployees.cards = longHistory.cards = cards;
  BenchServer baseServer(options, Engine::PrivateServer, base);
  BenchServer oneWorkerServer(options, Engine::PrivateServer, base,
                              std::string(kDatabaseWorkersKey) + "=1\n");
  BenchServer employeesServer(options, Engine::PrivateServer, manyEmployees);
  BenchServer historyServer(options, Engine::PrivateServer, longHistory);
  FloorLane floor(base, cards);
  FloorLane lockedFloor(base, cards, FloorMode::OneTransactionUnderCardLock);
  std::vector<std::unique_ptr<SimulatedTerminal>> terminals;
  std::vector<Lane> lanes;
  for (const BenchServer* server :
       {&baseServer, &oneWorkerServer, &employeesServer, &historyServer}) {
    terminals.push_back(
        std::make_unique<SimulatedTerminal>(server->port(), 0, std::chrono::seconds(20)));
    terminals.back()->badgeIn(kAssemblyBadge);
    SimulatedTerminal* terminal = terminals.back().get();
    lanes.push_back([terminal](int c) { return acceptedLatency(*terminal, postableCard(c)); });
  }
  // A terminal's card ends with the link quiet for a moment, so every card
  // after one starts on an idle machine; the floor's lane ends with the same
  // pause. Without it the card after the floor's (the base server's) started
  // on processors still awake, and read about a tenth faster than the others.
  for (FloorLane* lane : {&floor, &lockedFloor}) {
    lanes.push_back([lane](int c) {
      const auto latency = lane->post(c);
      std::this_thread::sleep_for(kAnswerQuiet);
      return latency;
    });
  }
  try {
    const std::vector<LatencyFigures> figures = interleave(lanes, cards);
    return {figures[0], figures[1], figures[2], figures[3], figures[4], figures[5]};
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(std::string("side by side: ") + error.what() + "\nmtserver logs:\n" +
                             baseServer.log() + oneWorkerServer.log() + employeesServer.log() +
                             historyServer.log());
  }
}

}  // namespace mts::bench
