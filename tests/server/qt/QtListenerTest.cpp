#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

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
#include "support/FreePort.h"

namespace mts {
namespace {

using test::freePort;
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
  void ClientDisconnect(const std::shared_ptr<TerminalConnection>& connection) override {
    // Reported once the connection has left the active list and reads closed.
    disconnects.push_back(connection->remoteAddress() + (connection->isOpen() ? " open" : ""));
  }
  void HandleError(const std::string& message) override { errors.push_back(message); }
  void ConnectionNotice(const std::string& message) override { notices.push_back(message); }

  bool throwOnConnect = false;
  std::vector<std::shared_ptr<TerminalConnection>> connects;
  std::vector<std::string> reads;
  std::vector<std::string> disconnects;
  std::vector<std::string> errors;
  std::vector<std::string> notices;
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
    port_ = freePort();
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
  EXPECT_EQ(events_.disconnects, std::vector<std::string>{"127.0.0.2"});
  // Whoever still holds the departed connection sees it closed.
  auto held = events_.connects[0];
  EXPECT_FALSE(held->isOpen());
  EXPECT_EQ(held->remoteAddress(), "127.0.0.2");
  // Sending to it is dropped quietly: no socket error reaches the handler,
  // however long the event loop runs.
  held->send("dropped");
  EXPECT_FALSE(WaitUntil([&] { return !events_.errors.empty(); }, 300));
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

// An answer posted back to the loop is handed to the system as soon as the
// work that drew it ends, not on a later pass of the loop.
TEST_F(QtListenerTest, WhatPostedWorkWritesLeavesWhenTheWorkEnds) {
  auto terminal = ConnectFrom("127.0.0.2", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 1; }));
  auto connection = std::dynamic_pointer_cast<QtTerminalConnection>(events_.connects[0]);
  ASSERT_TRUE(connection);
  QtEventTimer timer([](const std::string&) {});

  timer.post([&] {
    connection->send("FICHA ");
    connection->send("ATUALIZADA");
  });
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  EXPECT_EQ(connection->socket()->bytesToWrite(), 0);

  QByteArray received;
  ASSERT_TRUE(WaitUntil([&] {
    received += terminal->readAll();
    return received.size() >= 16;
  }));
  EXPECT_EQ(received, QByteArray("FICHA ATUALIZADA"));
}

TEST_F(QtListenerTest, CloseDropsEveryTerminalAndTheSamePortOpensAgain) {
  auto terminal = ConnectFrom("127.0.0.1", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 1; }));

  listener_.close();
  EXPECT_FALSE(listener_.isListening());
  EXPECT_TRUE(listener_.activeConnections().empty());
  EXPECT_FALSE(events_.connects[0]->isOpen());
  EXPECT_EQ(events_.disconnects, std::vector<std::string>{"127.0.0.1"});
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

QTcpSocket* ServerSide(const std::shared_ptr<TerminalConnection>& connection) {
  return static_cast<QtTerminalConnection*>(connection.get())->socket();
}

TEST_F(QtListenerTest, ASocketErrorClosesThatConnectionAloneAndIsNoticed) {
  auto failing = ConnectFrom("127.0.0.2", port_);
  auto other = ConnectFrom("127.0.0.3", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 2; }));

  // A pulled cable or a keepalive that timed out, as the socket reports it.
  emit ServerSide(events_.connects[0])->errorOccurred(QAbstractSocket::NetworkError);

  ASSERT_TRUE(WaitUntil([&] { return failing->state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_FALSE(events_.connects[0]->isOpen());
  ASSERT_EQ(listener_.activeConnections().size(), 1u);
  EXPECT_EQ(listener_.activeConnections()[0]->remoteAddress(), "127.0.0.3");
  EXPECT_TRUE(listener_.isListening());
  EXPECT_TRUE(events_.errors.empty()) << "nothing restarts the listener";
  ASSERT_EQ(events_.notices.size(), 1u);
  EXPECT_NE(events_.notices[0].find("127.0.0.2"), std::string::npos) << events_.notices[0];
  EXPECT_EQ(events_.disconnects, std::vector<std::string>{"127.0.0.2"});
  EXPECT_EQ(other->state(), QAbstractSocket::ConnectedState);
}

TEST_F(QtListenerTest, AcceptedConnectionsProbeAnIdlePeer) {
  auto terminal = ConnectFrom("127.0.0.2", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 1; }));
  QTcpSocket* socket = ServerSide(events_.connects[0]);
  EXPECT_EQ(socket->socketOption(QAbstractSocket::KeepAliveOption).toInt(), 1);
  int idle = 0;
  socklen_t size = sizeof idle;
  ASSERT_EQ(::getsockopt(static_cast<int>(socket->socketDescriptor()), IPPROTO_TCP, TCP_KEEPIDLE,
                         &idle, &size),
            0);
  EXPECT_EQ(idle, 60);
}

TEST_F(QtListenerTest, ConnectionsPastTheLimitAreClosedAndTheLimitReportedOnce) {
  listener_.setMaxConnections(2);
  auto first = ConnectFrom("127.0.0.2", port_);
  auto second = ConnectFrom("127.0.0.3", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 2; }));
  QTcpSocket refused;
  QTcpSocket refusedToo;
  refused.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  refusedToo.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  ASSERT_TRUE(WaitUntil([&] { return !events_.notices.empty(); }));
  EXPECT_TRUE(WaitUntil([&] {
    return refused.state() == QAbstractSocket::UnconnectedState &&
           refusedToo.state() == QAbstractSocket::UnconnectedState;
  }));
  EXPECT_EQ(events_.connects.size(), 2u);
  ASSERT_EQ(events_.notices.size(), 1u);
  EXPECT_NE(events_.notices[0].find("Limite de 2"), std::string::npos) << events_.notices[0];

  // A terminal leaves: the next one is served.
  first->disconnectFromHost();
  ASSERT_TRUE(WaitUntil([&] { return listener_.activeConnections().size() == 1; }));
  auto next = ConnectFrom("127.0.0.6", port_);
  EXPECT_TRUE(WaitUntil([&] { return events_.connects.size() == 3; }));
  EXPECT_EQ(second->state(), QAbstractSocket::ConnectedState);
}

TEST_F(QtListenerTest, APeerThatNeverReadsIsDroppedPastTheOutputLimit) {
  listener_.setMaxPendingOutput(64 * 1024);
  auto reader = ConnectFrom("127.0.0.2", port_);
  auto stuck = ConnectFrom("127.0.0.3", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 2; }));
  // The peer's side keeps almost nothing: what is not read stays queued in the
  // kernel and then in the server's socket.
  stuck->setReadBufferSize(1);

  const std::shared_ptr<TerminalConnection> connection = events_.connects[1];
  const std::string chunk(64 * 1024, 'x');
  for (int sent = 0; sent < 1024 && connection->isOpen(); ++sent) connection->send(chunk);

  EXPECT_FALSE(connection->isOpen());
  ASSERT_TRUE(WaitUntil([&] { return listener_.activeConnections().size() == 1; }));
  EXPECT_EQ(listener_.activeConnections()[0]->remoteAddress(), "127.0.0.2");
  ASSERT_EQ(events_.notices.size(), 1u);
  EXPECT_NE(events_.notices[0].find("127.0.0.3"), std::string::npos) << events_.notices[0];
  EXPECT_TRUE(events_.errors.empty());
}

double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST_F(QtListenerTest, AcceptingPausesWhileDescriptorsAreExhaustedAndResumes) {
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit lowered = saved;
  lowered.rlim_cur = 512;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
  // Started once before the descriptors run out: the sanitizer's first check
  // of a type needs a descriptor of its own.
  QTimer ticker;
  ticker.start(20);
  ticker.stop();
  QTcpSocket terminal;
  terminal.setReadBufferSize(0);
  static_cast<TerminalEvents&>(events_).ConnectionNotice("warm-up");
  events_.notices.clear();
  // Every descriptor taken but one, which the terminal's own socket takes.
  std::vector<int> fillers;
  for (int fd = ::open("/dev/null", O_RDONLY); fd >= 0; fd = ::open("/dev/null", O_RDONLY)) {
    fillers.push_back(fd);
  }
  ::close(fillers.back());
  fillers.pop_back();
  terminal.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));

  ASSERT_TRUE(WaitUntil([&] { return !events_.notices.empty(); }, 10000));
  // The event loop left to wait for events: a listener that keeps failing to
  // accept would keep it busy.
  const double cpuBefore = CpuSeconds();
  ticker.start(20);
  QDeadlineTimer idle(600);
  while (!idle.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double cpuSpent = CpuSeconds() - cpuBefore;

  for (int fd : fillers) ::close(fd);
  ::setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_LT(cpuSpent, 0.3) << "the listener spins on failed accepts";
  EXPECT_NE(events_.notices[0].find("Falha ao aceitar"), std::string::npos) << events_.notices[0];
  EXPECT_TRUE(WaitUntil([&] { return events_.connects.size() == 1; }, 10000));
  EXPECT_TRUE(events_.errors.empty());
}

// A megabyte sent at once reaches the events a few kilobytes at a time, and
// a terminal that types meanwhile is heard before the burst is through.
TEST_F(QtListenerTest, ABurstIsReadInBoundedUnitsInTurnWithTheOtherTerminals) {
  auto flooding = ConnectFrom("127.0.0.2", port_);
  auto typing = ConnectFrom("127.0.0.3", port_);
  ASSERT_TRUE(WaitUntil([&] { return events_.connects.size() == 2; }));
  const std::size_t burst = 1024 * 1024;
  // Both handed to the system before the server's loop runs again.
  flooding->write(QByteArray(static_cast<qsizetype>(burst), '5'));
  flooding->flush();
  typing->write("7");
  typing->flush();

  std::size_t burstRead = 0;
  std::size_t burstUnitsBeforeTheKey = 0;
  bool keyHeard = false;
  ASSERT_TRUE(WaitUntil([&] {
    for (; !events_.reads.empty(); events_.reads.erase(events_.reads.begin())) {
      const std::string& read = events_.reads.front();
      if (read == "127.0.0.3:7") {
        keyHeard = true;
        continue;
      }
      const std::size_t unit = read.size() - std::string("127.0.0.2:").size();
      EXPECT_LE(unit, static_cast<std::size_t>(QtTerminalListener::kReadChunk));
      burstRead += unit;
      if (!keyHeard) ++burstUnitsBeforeTheKey;
    }
    return burstRead == burst && keyHeard;
  }));
  EXPECT_LT(burstUnitsBeforeTheKey * QtTerminalListener::kReadChunk, burst / 2);
}

// Connects that arrive while the loop is busy wait in the system for the
// listener; a short backlog drops the extra requests, which their peers
// repeat only a second later.
TEST_F(QtListenerTest, ConnectsArrivingWhileTheLoopIsBusyAreAllCompletedAtOnce) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(port_));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::vector<pollfd> peers;
  for (int i = 0; i < 200; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_GE(fd, 0);
    ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
    peers.push_back({fd, POLLOUT, 0});
  }
  // Well under the second a dropped request waits, and without running the
  // listener's loop.
  std::size_t connected = 0;
  for (int round = 0; round < 20 && connected < peers.size(); ++round) {
    ::poll(peers.data(), peers.size(), 10);
    connected = 0;
    for (const pollfd& peer : peers) {
      int error = -1;
      socklen_t length = sizeof error;
      ::getsockopt(peer.fd, SOL_SOCKET, SO_ERROR, &error, &length);
      if ((peer.revents & POLLOUT) && error == 0) ++connected;
    }
  }
  EXPECT_EQ(connected, peers.size());
  EXPECT_TRUE(WaitUntil([&] { return events_.connects.size() == peers.size(); }));
  for (const pollfd& peer : peers) ::close(peer.fd);
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
