#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "server/ServerView.h"
#include "server/TerminalListener.h"

namespace mts::testing_support {

class RecordingView : public ServerView {
 public:
  void addReceived(const std::string& line) override { received.push_back(line); }
  void addTerminalListEntry(const std::string& entry) override { entries.push_back(entry); }
  void setStatusPanel(int panel, const std::string& text) override {
    panels.at(static_cast<std::size_t>(panel)) = text;
  }
  void showError(const std::string& message) override { errors.push_back(message); }

  std::vector<std::string> received;
  std::vector<std::string> entries;
  std::array<std::string, 4> panels;
  std::vector<std::string> errors;
};

class FakeConnection : public TerminalConnection {
 public:
  explicit FakeConnection(std::string address) : address_(std::move(address)) {}
  std::string remoteAddress() const override { return address_; }
  bool isOpen() const override { return open; }
  void send(std::string_view bytes) override {
    if (open) sent += bytes;
  }

  bool open = true;
  std::string sent;

 private:
  std::string address_;
};

// A listening socket that listens whenever asked unless told otherwise.
class FakeListener : public TerminalListener {
 public:
  bool open(int port, std::string& error) override {
    ports.push_back(port);
    if (onOpen && !onOpen(port, error)) return false;
    listening = true;
    return true;
  }
  void close() override {
    ++closes;
    listening = false;
    for (auto& connection : active) static_cast<FakeConnection&>(*connection).open = false;
    active.clear();
  }
  bool isListening() const override { return listening; }
  const ActiveConnections& activeConnections() const override { return active; }

  std::shared_ptr<FakeConnection> connect(const std::string& address) {
    auto connection = std::make_shared<FakeConnection>(address);
    active.push_back(connection);
    return connection;
  }

  // Decides each open: false refuses (with error set).
  std::function<bool(int port, std::string& error)> onOpen;
  std::vector<int> ports;
  int closes = 0;
  bool listening = false;
  ActiveConnections active;
};

class NoPauses : public EventPump {
 public:
  void pause(int) override {}
};

// Runs the event loop until the condition holds; false when it did not
// within a generous limit (only there to end a broken test).
inline bool WaitUntil(const std::function<bool()>& condition, int limitMs = 30000) {
  QDeadlineTimer limit(limitMs);
  while (!condition()) {
    if (limit.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// A TCP port nobody listens on right now.
inline int FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::Any, 0);
  return probe.serverPort();
}

}  // namespace mts::testing_support
