#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataaccess/firebird/Connection.h"
#include "production/TdmAtuProducao.h"
#include "server/CardSubmission.h"
#include "server/ClientConnect.h"
#include "server/ProductionRequests.h"
#include "server/RegConnections.h"
#include "server/TerminalInput.h"
#include "server/TerminalScreen.h"
#include "support/DatabaseRows.h"
#include "support/DemoFactory.h"
#include "support/ServerFakes.h"

namespace mts::test {

// The server's terminal side on a fresh copy of the demo factory, with the
// real production module and recording connections instead of sockets:
// terminals connect, type keys, and the test reads their screens' bytes, the
// received-data lines, the log lines and the database.
class DemoShopFloor {
 public:
  explicit DemoShopFloor(bool stxEtx = false) {
    TerminalSettings settings;
    settings.ProtocolStxEtx = stxEtx;
    screen_ = std::make_unique<TerminalScreen>(
        settings, timer, [this](const std::string& line) { log.push_back(line); });
    registry.SetLedTerminals({"127.0.0.1"});
    module_ = std::make_unique<TdmAtuProducao>(
        connection, [this](const std::string& message) { startupErrors.push_back(message); });
    operations_.module = module_.get();
    submission_ = std::make_unique<CardSubmission>(
        *screen_, requests_, [this](const std::string& line) { received.push_back(line); });
    input_ = std::make_unique<TerminalInput>(
        registry, *screen_, *submission_,
        [this](const std::string& line) { received.push_back(line); });
  }

  std::shared_ptr<RecordingConnection> Connect(const std::string& address) {
    auto terminal = listener.connect(address);
    ClientConnect(registry, *screen_, terminal, listener.active);
    return terminal;
  }
  // Each character is one key; "\r" is Enter. Blinks run to their end.
  void Type(const std::shared_ptr<RecordingConnection>& terminal, const std::string& keys) {
    for (char key : keys) {
      input_->ServerClientRead(terminal, std::string(1, key));
      timer.runAll();
    }
  }
  TRegConnection& Terminal(const std::string& address) {
    return registry.TerminalAt(registry.FindTerminal(address));
  }
  int Count(const std::string& table, const std::string& where = {},
            const db::Params& params = {}) {
    return static_cast<int>(countRows(connection, table, where, params));
  }

  DemoFactoryDatabase database;
  db::Connection connection{database.settings()};
  ManualTimer timer;
  RegConnections registry;
  FakeListener listener;
  std::vector<std::string> log;
  std::vector<std::string> received;
  std::vector<std::string> startupErrors;

 private:
  std::unique_ptr<TerminalScreen> screen_;
  // The module answering inside each call, on the test's thread.
  struct ModuleOperations final : ProductionOperations {
    BadgeOutcome LookUpBadge(const std::string& badge) override {
      return module->LookUpBadge(badge);
    }
    CardOutcome PostCard(const CardRequest& request) override { return module->PostCard(request); }
    TdmAtuProducao* module = nullptr;
  };

  std::unique_ptr<TdmAtuProducao> module_;
  ModuleOperations operations_;
  InlineProductionRequests requests_{operations_};
  std::unique_ptr<CardSubmission> submission_;
  std::unique_ptr<TerminalInput> input_;
};

}  // namespace mts::test
