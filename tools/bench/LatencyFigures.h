#pragma once

#include <chrono>
#include <vector>

namespace mts::bench {

// Summary of card latencies, in milliseconds.
struct LatencyFigures {
  int cards = 0;
  double p50 = 0;
  double p99 = 0;
  double max = 0;
  double cardsPerSecond = 0;  // cards over the wall time of the run
};

// Nearest-rank percentiles of `latencies`; all zero when there are none.
LatencyFigures summarise(std::vector<std::chrono::nanoseconds> latencies,
                         std::chrono::nanoseconds wallTime);

}  // namespace mts::bench
