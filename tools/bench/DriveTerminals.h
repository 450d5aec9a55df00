#pragma once

#include "BenchServer.h"
#include "LatencyFigures.h"

namespace mts::bench {

// `terminals` operators each post `cards` distinct generated cards, all at
// once, starting at generated card `firstCard`; the latencies of every card.
// Every operator badges in before the first card, and all start together.
// Throws std::runtime_error when a terminal fails (a card not accepted).
LatencyFigures driveTerminals(const BenchServer& server, int terminals, int cards,
                              int firstCard = 0);

}  // namespace mts::bench
