#pragma once

#include "BenchFactory.h"
#include "BenchServer.h"
#include "LatencyFigures.h"

namespace mts::bench {

struct BlinkFigures {
  LatencyFigures alone, beside;
  int badges = 0;  // badges the LED terminal posted meanwhile
};

// One terminal posts `cards` cards alone, then `cards` more while a terminal
// listed as a LED terminal badges in over and over (each badge blinks the
// green LED before the card prompt comes back), on one server of its own, so
// that only the blinking differs between the two halves. Throws
// std::runtime_error, with the server's log, when a terminal fails.
BlinkFigures blinkScenario(const Options& options, FactorySize size, int cards);

}  // namespace mts::bench
