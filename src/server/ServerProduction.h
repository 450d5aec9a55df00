#pragma once

#include <memory>

#include "server/ProductionRequests.h"
#include "server/ProductionWorkers.h"

namespace mts {

// The server's production requests: to its database workers once start-up
// has made them; before that (or after start-up failed) each request fails
// at once, answered on its terminal.
class ServerProduction final : public ProductionRequests {
 public:
  // Owns the workers from now on; null stops and releases them.
  void Attach(std::unique_ptr<ProductionWorkers> workers);
  ProductionWorkers* workers() const { return workers_.get(); }

  void LookUpBadge(const std::string& badge, BadgeAnswer answer) override;
  void PostCard(const CardRequest& request, CardAnswer answer) override;

 private:
  std::unique_ptr<ProductionWorkers> workers_;
};

}  // namespace mts
