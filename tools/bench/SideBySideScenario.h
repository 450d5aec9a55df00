#pragma once

#include "BenchFactory.h"
#include "BenchServer.h"
#include "LatencyFigures.h"

namespace mts::bench {

struct SideBySide {
  LatencyFigures base, oneWorker, manyEmployees, longHistory, floor, lockedFloor;
};

// One terminal on each of four servers (the base factory with the default
// number of database workers and with one, many employees, a long history),
// the SQL floor, and the floor under the server's card lock, each on a copy of
// its own, post `cards` cards, a card on each in turn, round after round, so
// that both sides of every ratio sample the same stretches of the machine's
// time. Throws std::runtime_error, with the servers' logs, when a card is not
// accepted.
SideBySide sideBySideScenario(const Options& options, FactorySize base, FactorySize manyEmployees,
                              FactorySize longHistory, int cards);

}  // namespace mts::bench
