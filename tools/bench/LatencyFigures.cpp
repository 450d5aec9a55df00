#include "LatencyFigures.h"

#include <algorithm>
#include <cmath>

namespace mts::bench {

namespace {

double milliseconds(std::chrono::nanoseconds time) {
  return std::chrono::duration<double, std::milli>(time).count();
}

}  // namespace

LatencyFigures summarise(std::vector<std::chrono::nanoseconds> latencies,
                         std::chrono::nanoseconds wallTime) {
  LatencyFigures figures;
  if (latencies.empty()) return figures;
  std::sort(latencies.begin(), latencies.end());
  const auto rank = [&](double fraction) {
    const auto index = static_cast<std::size_t>(std::ceil(fraction * latencies.size()));
    return milliseconds(latencies[std::max<std::size_t>(index, 1) - 1]);
  };
  figures.cards = static_cast<int>(latencies.size());
  figures.p50 = rank(0.50);
  figures.p99 = rank(0.99);
  figures.max = milliseconds(latencies.back());
  const double seconds = milliseconds(wallTime) / 1000.0;
  figures.cardsPerSecond = seconds > 0 ? figures.cards / seconds : 0;
  return figures;
}

}  // namespace mts::bench
