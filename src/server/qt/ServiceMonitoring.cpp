#include "server/qt/ServiceMonitoring.h"

#include <cstdio>
#include <string>

#include "routines/Windows1252Unicode.h"
#include "server/status/ProcessStats.h"
#include "version/BuildVersion.h"

namespace mts {

ServiceMonitoring::ServiceMonitoring(ServerRuntime& runtime)
    : runtime_(runtime), status_(BuildVersion()) {
  runtime_.core().setActivity(&status_);
}

ServiceMonitoring::~ServiceMonitoring() {
  runtime_.core().setActivity(nullptr);
}

StatusSnapshot ServiceMonitoring::snapshot() const {
  StatusSnapshot snapshot = status_.snapshot(runtime_.core().registry());
  snapshot.terminalPort = runtime_.core().config().port;
  snapshot.listening = runtime_.listener().isListening();
  snapshot.process = ReadProcessStats();
  return snapshot;
}

void ServiceMonitoring::started() {
  ServerCore& core = runtime_.core();

  const ServerConfig& config = core.config();
  status_.nameTerminals(config.namedTerminals);
  if (config.statusEnabled()) {
    auto http = std::make_unique<StatusHttpServer>([this] { return snapshot(); });
    std::string error;
    if (http->start(config.statusAddress, config.statusPort, error)) {
      http_ = std::move(http);
    } else {
      std::fprintf(stderr, "mtserver: %s\n", text::Utf8FromWindows1252(error).c_str());
      std::fflush(stderr);
    }
  }

  const std::string port = std::to_string(config.port);
  if (runtime_.listener().isListening()) {
    notifier_.ready("Escutando terminais na porta " + port);
  } else {
    notifier_.status("Porta de terminais " + port + " fechada");
  }
}

void ServiceMonitoring::stopping() {
  notifier_.stopping();
}

}  // namespace mts
