#include "server/ModuleWorkerProduction.h"

#include <utility>

namespace mts {

ModuleWorkerProduction::ModuleWorkerProduction(db::ConnectionSettings settings)
    : connection_(std::move(settings)) {}

ModuleWorkerProduction::~ModuleWorkerProduction() = default;

void ModuleWorkerProduction::Start() {
  if (started_) return;
  module_.DataModuleCreate();
  started_ = true;
}

void ModuleWorkerProduction::CheckDatabase() {
  if (!started_) {
    Start();
    return;
  }
  connection_.query("SELECT 1 FROM RDB$DATABASE");
}

void ModuleWorkerProduction::Cancel(bool hard) {
  connection_.cancelOperation(hard ? db::CancelMode::Abort : db::CancelMode::Raise);
}

BadgeOutcome ModuleWorkerProduction::LookUpBadge(const std::string& badge) {
  return module_.LookUpBadge(badge);
}

CardOutcome ModuleWorkerProduction::PostCard(const CardRequest& request) {
  return module_.PostCard(request);
}

}  // namespace mts
