#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "QtTestHelpers.h"
#include "server/qt/QtEventTimer.h"
#include "server/qt/QtTerminalListener.h"

namespace mts {
namespace {

using testing_support::FreePort;
using testing_support::WaitUntil;

TEST(DottedAddress, Ipv4AndIpv4SeenThroughIpv6) {
  const std::pair<const char*, const char*> cases[] = {
      {"127.0.0.2", "127.0.0.2"},
      {"::ffff:127.0.0.2", "127.0.0.2"},
      {"::ffff:10.1.20.3", "10.1.20.3"},
      {"192.168.0.10", "192.168.0.10"},
      {"::1", "::1"},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(DottedAddress(QHostAddress(QString(input))), expected) << input;
  }
}

class RecordingEvents : public TerminalEvents {
 public:
  void ClientConnect(const std::shared_ptr<TerminalConnection>& connection) override {
    connects.push_back(connection);
    if (throwOnConnect) throw std::runtime_error("falha no connect");
  }
  void ServerClientRead(const std::shared_ptr<TerminalConnection>& connection,
                        const std::string& unit) override {
    reads.push_back(connection->remoteAddress() + ":" + unit);
  }
  void HandleError(const std::string& message) override { errors.push_back(message); }

  bool throwOnConnect = false;
  std::vector<std::shared_ptr<TerminalConnection>> connects;
  std::vector<std::string> reads;
  std::vector<std::string> errors;
};

// A terminal on the test's side, connecting from the given loopback address.
std::unique_ptr<QTcpSocket> ConnectFrom(const char* address, int port) {
  auto socket = std::make_unique<QTcpSocket>();
  EXPECT_TRUE(socket->bind(QHostAddress(QString(address)), 0)) << address;
  socket->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  EXPECT_TRUE(WaitUntil([&] { return socket->state() == QAbstractSocket::ConnectedState; }));
  return socket;
}

class QtListenerTest : public testing::Test {
 protected:
  void SetUp() override {
    listener_.setEvents(&events_);
    port_ = FreePort();
    std::string error;
    ASSERT_TRUE(listener_.open(port_, error)) << error;
  }

  RecordingEvents events_;
  QtTerminalListener listener_;
  int port_ = 0;
};

TEST_F(QtListenerTest, ConnectionsAreListedInOrderAndLeaveWhenTheirPeerGoes) {
  auto first = ConnectFrom("127.0.0.2", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 1; }));
  auto second = ConnectFrom("127.0.0.1", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 2; }));

  const ActiveConnections& active = listener_.activeConnections();
  ASSERT_EQ(active.size(), 2u);
  EXPECT_EQ(active[0]->remoteAddress(), "127.0.0.2");
  EXPECT_EQ(active[1]->remoteAddress(), "127.0.0.1");
  EXPECT_EQ(events_.connects[0], active[0]);

  std::weak_ptr<TerminalConnection> leaving = active[0];
  first->disconnectFromHost();
  ASSERT_TRUE(WaitUntil([&] { return listener_.activeConnections().size() == 1; }));
  EXPECT_EQ(listener_.activeConnections()[0]->remoteAddress(), "127.0.0.1");
  // Whoever still holds the departed connection sees it closed.
  auto held = events_.connects[0];
  EXPECT_FALSE(held->isOpen());
  EXPECT_EQ(held->remoteAddress(), "127.0.0.2");
  held->send("dropped");
  EXPECT_TRUE(events_.errors.empty());
}

TEST_F(QtListenerTest, SendsAndReceivesBytes) {
  auto terminal = ConnectFrom("127.0.0.2", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 1; }));

  events_.connects[0]->send(std::string("\x1B[H\xE3", 4));
  QByteArray received;
  ASSERT_TRUE(WaitUntil([&] {
    received += terminal->readAll();
    return received.size() >= 4;
  }));
  EXPECT_EQ(received, QByteArray("\x1B[H\xE3", 4));

  terminal->write("12");
  ASSERT_TRUE(WaitUntil([&] {
    std::string all;
    for (const auto& read : events_.reads) all += read.substr(read.find(':') + 1);
    return all == "12";
  }));
  EXPECT_EQ(events_.reads.front().substr(0, 10), "127.0.0.2:");
}

TEST_F(QtListenerTest, CloseDropsEveryTerminalAndTheSamePortOpensAgain) {
  auto terminal = ConnectFrom("127.0.0.1", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 1; }));

  listener_.close();
  EXPECT_FALSE(listener_.isListening());
  EXPECT_TRUE(listener_.activeConnections().empty());
  EXPECT_FALSE(events_.connects[0]->isOpen());
  EXPECT_TRUE(WaitUntil([&] { return terminal->state() == QAbstractSocket::UnconnectedState; }));

  std::string error;
  EXPECT_TRUE(listener_.open(port_, error)) << error;
  auto again = ConnectFrom("127.0.0.1", port_);
  EXPECT_TRUE(WaitUntil([&] { return events_.connects.size() == 2; }));
  EXPECT_TRUE(events_.errors.empty());
}

TEST_F(QtListenerTest, ExceptionFromTheConnectHandlerGoesToTheErrorHandler) {
  events_.throwOnConnect = true;
  auto terminal = ConnectFrom("127.0.0.1", port_);
  ASSERT_TRUE(WaitUntil([&] { return !events_.errors.empty(); }));
  EXPECT_EQ(events_.errors, std::vector<std::string>{"falha no connect"});
}

TEST_F(QtListenerTest, PortInUseOrOutOfRangeIsRefusedWithAMessage) {
  QtTerminalListener second;
  std::string error;
  EXPECT_FALSE(second.open(port_, error));
  EXPECT_NE(error.find(std::to_string(port_)), std::string::npos) << error;
  EXPECT_FALSE(second.isListening());
  for (int bad : {0, -1, 65536}) {
    error.clear();
    EXPECT_FALSE(second.open(bad, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
}

TEST(QtEventTimer, CallsRunLaterFromTheLoopInDueOrderAndErrorsGoToTheSink) {
  std::vector<std::string> errors;
  std::vector<std::string> ran;
  QtEventTimer timer([&](const std::string& message) { errors.push_back(message); });

  timer.callAfter(40, [&] { ran.push_back("40"); });
  timer.callAfter(10, [&] {
    ran.push_back("10");
    throw std::runtime_error("falhou");
  });
  timer.callAfter(-5, [&] { ran.push_back("now"); });
  timer.callAfter(10, [&] { ran.push_back("10 again"); });
  EXPECT_TRUE(ran.empty());  // never from inside callAfter

  ASSERT_TRUE(WaitUntil([&] { return ran.size() == 4; }));
  EXPECT_EQ(ran, (std::vector<std::string>{"now", "10", "10 again", "40"}));
  EXPECT_EQ(errors, std::vector<std::string>{"falhou"});
}

TEST(QtEventTimer, PendingCallsAreDroppedWithTheTimer) {
  bool ran = false;
  {
    QtEventTimer timer([](const std::string&) {});
    timer.callAfter(0, [&] { ran = true; });
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(WaitUntil([&] { return ran; }, 50));
}

}  // namespace
}  // namespace mts
