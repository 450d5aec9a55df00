#include "server/ServerProduction.h"

#include <exception>
#include <stdexcept>
#include <utility>

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

void ServerProduction::Attach(std::unique_ptr<ProductionWorkers> workers) {
  if (workers_) workers_->Stop();
  workers_ = std::move(workers);
}

void ServerProduction::LookUpBadge(const std::string& badge, BadgeAnswer answer) {
  if (!workers_) {
    answer(NotStarted<BadgeOutcome>());
    return;
  }
  workers_->LookUpBadge(badge, std::move(answer));
}

void ServerProduction::PostCard(const CardRequest& request, CardAnswer answer) {
  if (!workers_) {
    answer(NotStarted<CardOutcome>());
    return;
  }
  workers_->PostCard(request, std::move(answer));
}

}  // namespace mts
