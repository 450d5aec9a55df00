#include "BenchServer.h"

#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/FreePort.h"

namespace mts::bench {

namespace {

using Clock = std::chrono::steady_clock;

const char* kAcceptedText = "FICHA ATUALIZADA";

}  // namespace

BenchServer::BenchServer(const Options& options, Engine engine, const FactorySize& size,
                         const std::string& extraIni)
    : folder_("bench"), port_(test::freePort()) {
  const auto database = folder_ / "factory.fdb";
  generateFactory(database, size);
  std::string connection = database.string();
  std::string key = "2";
  if (engine == Engine::PrivateServer) {
    firebird_ = std::make_unique<test::PrivateFirebirdServer>();
    connection = firebird_->connectionString(database);
    key = firebird_->password();
  }
  test::writeFile(folder_ / "mtserver.ini",
                  "[SERVER-CONFIG]\nPROTOCOLO-TERMINAL=VT-100\nMAXIMO-TERMINAIS=" +
                      std::to_string(kMaxTerminals) + "\nPORTA-IP=" + std::to_string(port_) +
                      "\n[BDADOS-CONFIG]\nBDADOS=" + connection + "\nCHAVE=" + key +
                      "\nVersaoFirebird=3\n" + extraIni);
  server_ = std::make_unique<test::ChildProcess>(
      std::vector<std::string>{options.mtserver, "--log-dir", (folder_ / "log").string(), "--ini",
                               (folder_ / "mtserver.ini").string(), "--headless"},
      test::Environment{}, folder_ / "mtserver.out");
  waitUntilListening();
}

BenchServer::~BenchServer() {
  if (server_) server_->stop(10);
}

std::string BenchServer::log() const {
  std::string all = test::readFile(folder_ / "mtserver.out");
  if (!std::filesystem::exists(folder_ / "log")) return all;
  for (const auto& entry : std::filesystem::directory_iterator(folder_ / "log")) {
    all += test::readFile(entry.path());
  }
  return all;
}

db::ConnectionSettings BenchServer::databaseSettings() const {
  if (!firebird_) throw std::logic_error("the embedded engine serves no other program");
  return firebird_->settings(folder_ / "factory.fdb");
}

test::PrivateFirebirdServer& BenchServer::firebird() {
  if (!firebird_) throw std::logic_error("the embedded engine has no server process");
  return *firebird_;
}

void BenchServer::waitUntilListening() {
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (Clock::now() < deadline) {
    if (!server_->running()) {
      throw std::runtime_error("mtserver ended: " + test::readFile(folder_ / "mtserver.out"));
    }
    if (log().find("AtivarServer: servidor ativo") != std::string::npos) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  throw std::runtime_error("mtserver did not start listening");
}

std::chrono::nanoseconds acceptedLatency(SimulatedTerminal& terminal, const std::string& code) {
  const SimulatedTerminal::CardAnswer answer = terminal.postCard(code);
  if (answer.refused || answer.screen.find(kAcceptedText) == std::string::npos) {
    throw std::runtime_error("card " + code + " was not accepted; the screen shows \"" +
                             answer.screen + "\"");
  }
  return answer.latency;
}

}  // namespace mts::bench
