#pragma once

#include <string>

#include "production/CardPath.h"

namespace mts {

// What the badge and card flow asks of production: who is behind a badge, and
// a card's whole path. Each database worker answers through its own
// (WorkerProduction); tests use a fake.
//
// Neither throws: a refusal is in the outcome's answer, and what failed (the
// database, a writer) in its failure, with nothing of the card recorded.
class ProductionOperations {
 public:
  virtual ~ProductionOperations() = default;

  virtual BadgeOutcome LookUpBadge(const std::string& badge) = 0;
  virtual CardOutcome PostCard(const CardRequest& request) = 0;
};

}  // namespace mts
