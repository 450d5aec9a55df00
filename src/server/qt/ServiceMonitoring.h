#pragma once

#include <memory>

#include "server/qt/ServerRuntime.h"
#include "server/qt/StatusHttpServer.h"
#include "server/qt/SystemdNotifier.h"
#include "server/status/ShopFloorStatus.h"

namespace mts {

// What lets others watch the running server: the shop-floor status fed by the
// core, the status listener (when PORTA-STATUS is set) and the systemd
// notifications. Created once the runtime exists; the runtime must outlive it.
// Event-loop thread only.
class ServiceMonitoring {
 public:
  // Starts recording the core's activity.
  explicit ServiceMonitoring(ServerRuntime& runtime);
  // Stops recording; the status listener closes.
  ~ServiceMonitoring();
  ServiceMonitoring(const ServiceMonitoring&) = delete;
  ServiceMonitoring& operator=(const ServiceMonitoring&) = delete;

  // After start-up: notes whether the database answered and which terminals
  // the configuration names, opens the status
  // listener when configured (a failure is reported on standard error and the
  // server runs on without it), and tells systemd it is ready when the
  // terminal port listens.
  void started();
  // Tells systemd the server is stopping. Later calls do nothing.
  void stopping();

  ShopFloorStatus& status() { return status_; }
  // Null unless the status listener is open.
  StatusHttpServer* statusListener() { return http_.get(); }
  StatusSnapshot snapshot() const;

 private:
  ServerRuntime& runtime_;
  ShopFloorStatus status_;
  SystemdNotifier notifier_;
  std::unique_ptr<StatusHttpServer> http_;
};

}  // namespace mts
