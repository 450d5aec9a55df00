#pragma once

#include <string>

#include "server/ProductionOperations.h"

namespace mts {

class TdmAtuProducao;

// The production operations on the server's production module. Until a module
// is attached (start-up did not get that far) every operation fails with
// std::runtime_error, answered on its terminal.
class ProductionModuleOperations final : public ProductionOperations {
 public:
  // The module is the server's; it must outlive the attachment (attach nullptr
  // before it goes).
  void Attach(TdmAtuProducao* module) { module_ = module; }

  BadgeOutcome LookUpBadge(const std::string& badge) override;
  CardOutcome PostCard(const CardRequest& request) override;

 private:
  TdmAtuProducao* module_ = nullptr;
};

}  // namespace mts
