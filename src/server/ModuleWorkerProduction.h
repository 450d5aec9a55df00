#pragma once

#include <memory>

#include "dataaccess/firebird/Connection.h"
#include "production/TdmAtuProducao.h"
#include "server/WorkerProduction.h"

namespace mts {

// One database worker's production: its own connection, with the server's
// settings, and its own production module on it.
class ModuleWorkerProduction final : public WorkerProduction {
 public:
  explicit ModuleWorkerProduction(db::ConnectionSettings settings);
  ~ModuleWorkerProduction() override;

  // Reads the parameters and the cached lists (attaching first); until that
  // has worked once, each request and check tries it again.
  void Start() override;
  void CheckDatabase() override;
  void Cancel(bool hard) override;

  BadgeOutcome LookUpBadge(const std::string& badge) override;
  CardOutcome PostCard(const CardRequest& request) override;

 private:
  db::Connection connection_;
  // Declared after the connection: released before the connection it uses.
  TdmAtuProducao module_{connection_};
  bool started_ = false;
};

}  // namespace mts
