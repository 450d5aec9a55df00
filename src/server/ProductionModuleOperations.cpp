#include "server/ProductionModuleOperations.h"

#include <stdexcept>

#include "production/TdmAtuProducao.h"

namespace mts {

namespace {

template <typename Outcome>
Outcome NotStarted() {
  Outcome outcome;
  outcome.failure =
      std::make_exception_ptr(std::runtime_error("M\xF3"
                                                 "dulo de produ\xE7\xE3o n\xE3o iniciado."));
  return outcome;
}

}  // namespace

BadgeOutcome ProductionModuleOperations::LookUpBadge(const std::string& badge) {
  if (module_ == nullptr) return NotStarted<BadgeOutcome>();
  return module_->LookUpBadge(badge);
}

CardOutcome ProductionModuleOperations::PostCard(const CardRequest& request) {
  if (module_ == nullptr) return NotStarted<CardOutcome>();
  return module_->PostCard(request);
}

}  // namespace mts
