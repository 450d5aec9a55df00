#pragma once

#include <chrono>

#include "BenchFactory.h"
#include "BenchServer.h"
#include "LatencyFigures.h"

namespace mts::bench {

// Terminals typing while the database server is frozen (SIGSTOP, as a hung
// host): one terminal has sent a card, which waits on the database; the
// others type keys, and each key's echo is timed.
struct HungDatabasePlan {
  int terminals = 20;                     // the one with the card included
  std::chrono::milliseconds stop{10000};  // how long the database is frozen
  std::chrono::milliseconds keyGap{20};   // between two keys of one terminal
};

struct HungDatabaseFigures {
  // One entry per key typed while the database was frozen: the time to its
  // echo. A key not echoed before the database came back plus a few seconds
  // counts as that whole wait.
  LatencyFigures echoes;
  int unechoed = 0;
  bool cardAnswered = false;  // the card was answered once the database was back
};

HungDatabaseFigures hungDatabaseScenario(const Options& options, FactorySize size,
                                         const HungDatabasePlan& plan);

}  // namespace mts::bench
