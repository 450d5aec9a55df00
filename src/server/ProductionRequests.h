#pragma once

#include <functional>
#include <string>

#include "production/CardPath.h"
#include "server/ProductionOperations.h"

namespace mts {

// Badges and cards handed to production without waiting: each answer comes
// back through its continuation, on the event-loop thread, once production
// has it. The server hands them to its database workers (ProductionWorkers);
// tests and tools may answer inline (InlineProductionRequests).
//
// The caller keeps at most one badge or card of a terminal in flight; the
// continuation is called exactly once per request, unless the requests are
// stopped first (then it may never be called).
class ProductionRequests {
 public:
  using BadgeAnswer = std::function<void(BadgeOutcome)>;
  using CardAnswer = std::function<void(CardOutcome)>;

  virtual ~ProductionRequests() = default;

  virtual void LookUpBadge(const std::string& badge, BadgeAnswer answer) = 0;
  virtual void PostCard(const CardRequest& request, CardAnswer answer) = 0;
};

// Answers each request at once, inside the call, from production operations
// on the caller's thread.
class InlineProductionRequests final : public ProductionRequests {
 public:
  // Borrowed: the operations must outlive this.
  explicit InlineProductionRequests(ProductionOperations& production) : production_(production) {}

  void LookUpBadge(const std::string& badge, BadgeAnswer answer) override {
    answer(production_.LookUpBadge(badge));
  }
  void PostCard(const CardRequest& request, CardAnswer answer) override {
    answer(production_.PostCard(request));
  }

 private:
  ProductionOperations& production_;
};

}  // namespace mts
