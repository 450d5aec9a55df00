#pragma once

#include <chrono>

#include "BenchFactory.h"
#include "BenchServer.h"
#include "LatencyFigures.h"

namespace mts::bench {

// Terminals posting while another program holds an order item's row (a
// person editing that order in the office) and one more terminal keeps trying
// the card that must write that row.
struct HeldLockPlan {
  int postingTerminals = 19;
  int cardsPerTerminal = 100;                   // generated cards each posting terminal may use
  std::chrono::milliseconds unhindered{10000};  // posting before the hold
  std::chrono::milliseconds hold{30000};        // posting while the row is held
  int lockTimeoutSeconds = 10;                  // TEMPO-ESPERA-BLOQUEIO
};

struct HeldLockFigures {
  LatencyFigures unhindered;  // the posting terminals' cards without the hold
  LatencyFigures held;        // their cards while the row was held
  int blockedAttempts = 0;    // tries of the card that needs the held row
};

// The held row is that of order item 00004501/001 of the demo factory, which
// the demo's dispatch card marks in stock; the card is first taken through
// assembly and finishing, untimed, so that dispatch would accept it.
HeldLockFigures heldLockScenario(const Options& options, FactorySize size,
                                 const HeldLockPlan& plan);

}  // namespace mts::bench
