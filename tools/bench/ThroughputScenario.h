#pragma once

#include "BenchFactory.h"
#include "BenchServer.h"
#include "LatencyFigures.h"
#include "ProcessCpu.h"

namespace mts::bench {

struct ThroughputFigures {
  LatencyFigures terminals;  // every terminal's cards; cards/s over the terminals' rounds
  LatencyFigures floor;      // the floor's cards; cards/s over its own stretches
  CpuFigures terminalsCpu;   // mtserver and its Firebird, per card
  CpuFigures floorCpu;       // the floor's connection (this process) and its Firebird
};

// Many terminals on one server, and the SQL floor on one connection, taking
// turns round after round so that both sample the same stretches of the
// machine's time: in each round every terminal posts one card, all at once,
// and the round ends with the last answer; then the floor posts as many cards
// back to back. Throws std::runtime_error when a card is not accepted.
ThroughputFigures throughputScenario(const Options& options, FactorySize size, int terminals,
                                     int rounds);

}  // namespace mts::bench
