#include "server/qt/QtTerminalListener.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <QTimer>
#include <algorithm>

#include "server/qt/HandlerGuard.h"
#include "server/qt/QtText.h"

namespace mts {

namespace {

// A terminal that lost power is found after about two minutes of silence:
// probes after 60 s idle, then every 10 s, given up after 6 unanswered.
void EnableKeepAlive(QTcpSocket* socket) {
  socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
  const int fd = static_cast<int>(socket->socketDescriptor());
  if (fd < 0) return;
  const int idle = 60;
  const int interval = 10;
  const int count = 6;
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
}

// Descriptors left to everything else the process opens: the log file, the
// database client's sockets and files, the window system.
constexpr std::size_t kReservedDescriptors = 32;

// How many terminal connections the process's descriptor limit leaves room
// for. A server that runs out of descriptors cannot open its log or reach the
// database, and the sanitizer runtime itself needs one to check an object.
std::size_t ConnectionsTheDescriptorsAllow() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return static_cast<std::size_t>(-1);
  }
  const auto descriptors = static_cast<std::size_t>(limit.rlim_cur);
  return descriptors > 2 * kReservedDescriptors ? descriptors - kReservedDescriptors
                                                : descriptors / 2;
}

}  // namespace

QtTerminalListener::QtTerminalListener(QObject* parent) : QObject(parent) {
  connect(&server_, &QTcpServer::newConnection, this, [this] { AcceptPending(); });
  connect(&server_, &QTcpServer::acceptError, this, [this] { AcceptFailed(); });
}

QtTerminalListener::~QtTerminalListener() {
  events_ = nullptr;
  close();
}

bool QtTerminalListener::open(int port, std::string& error) {
  if (server_.isListening()) return true;
  if (port < 1 || port > 65535) {
    error = "Porta IP inv\xE1lida: " + std::to_string(port);
    return false;
  }
  // Connections the system completes while the loop is busy wait here; past
  // the backlog it drops the peer's connection request, which retries only
  // after a second, so a short backlog turns a burst of connects (a floor
  // coming back after a power cut) into one second's wait per backlog's worth.
  server_.setListenBacklogSize(kListenBacklog);
  if (!server_.listen(QHostAddress::Any, static_cast<quint16>(port))) {
    error = "N\xE3o foi poss\xEDvel abrir a porta " + std::to_string(port) + ": " +
            Windows1252FromQString(server_.errorString());
    return false;
  }
  return true;
}

void QtTerminalListener::close() {
  server_.close();
  // Closing the listener closes every terminal connection. The list is taken
  // first: nothing that runs meanwhile sees a half-closed list.
  ActiveConnections closing;
  closing.swap(active_);
  for (const auto& connection : closing) {
    auto* terminal = static_cast<QtTerminalConnection*>(connection.get());
    terminal->markClosed();
    if (QTcpSocket* socket = terminal->socket()) {
      socket->disconnect(this);
      connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
      socket->disconnectFromHost();
      if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
    }
    Guarded([&] {
      if (events_) events_->ClientDisconnect(connection);
    });
  }
}

void QtTerminalListener::AcceptPending() {
  const std::size_t limit = std::min(maxConnections_, ConnectionsTheDescriptorsAllow());
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    if (active_.size() >= limit) {
      if (!limitReported_) {
        limitReported_ = true;
        Notice("Limite de " + std::to_string(limit) +
               " conex\xF5"
               "es atingido: novas conex\xF5"
               "es recusadas (" +
               DottedAddress(socket->peerAddress()) + ").");
      }
      socket->abort();
      socket->deleteLater();
      continue;
    }
    limitReported_ = false;
    acceptFailureReported_ = false;
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // What a peer sends faster than it is handled stays in the system's
    // buffer, not ours, and each read event hands over a bounded amount, so a
    // burst on one connection is taken in turns with the other terminals.
    socket->setReadBufferSize(kReadChunk);
    EnableKeepAlive(socket);
    auto connection = std::make_shared<QtTerminalConnection>(socket);
    std::weak_ptr<QtTerminalConnection> weak = connection;
    connection->setOutputLimit(maxPendingOutput_, [this, weak] {
      CloseOne(weak, "n\xE3o l\xEA o que recebe (mais de " + std::to_string(maxPendingOutput_) +
                         " bytes pendentes)");
    });
    active_.push_back(connection);
    Watch(connection);
    Guarded([&] {
      if (events_) events_->ClientConnect(connection);
    });
    connection->flush();
  }
}

void QtTerminalListener::Watch(const std::shared_ptr<QtTerminalConnection>& connection) {
  QTcpSocket* socket = connection->socket();
  std::weak_ptr<QtTerminalConnection> weak = connection;
  connect(socket, &QIODevice::readyRead, this, [this, weak] {
    if (auto alive = weak.lock()) ReadAvailable(alive);
  });
  connect(socket, &QAbstractSocket::disconnected, this, [this, weak] {
    if (auto alive = weak.lock()) Dropped(alive.get());
  });
  connect(socket, &QAbstractSocket::errorOccurred, this,
          [this, socket, weak](QAbstractSocket::SocketError error) {
            // A peer that closes (or resets) its end is a disconnect, not an error.
            if (error == QAbstractSocket::RemoteHostClosedError) return;
            CloseOne(weak, "erro: " + Windows1252FromQString(socket->errorString()));
          });
}

void QtTerminalListener::CloseOne(const std::weak_ptr<QtTerminalConnection>& connection,
                                  const std::string& notice) {
  auto alive = connection.lock();
  if (!alive) return;
  alive->markClosed();
  Notice("Conex\xE3o do terminal " + alive->remoteAddress() + " encerrada: " + notice);
  // Closed from the event loop: this may run inside a send() of the very
  // connection, with its caller still using it and the active list.
  QTimer::singleShot(0, this, [this, connection] {
    auto closing = connection.lock();
    if (!closing) return;
    if (QTcpSocket* socket = closing->socket()) {
      socket->disconnect(this);
      socket->abort();
    }
    Dropped(closing.get());
  });
}

void QtTerminalListener::AcceptFailed() {
  // Qt stops accepting after a failed accept; it starts again after a pause,
  // by when a terminal may have left and freed its descriptor.
  server_.pauseAccepting();
  if (acceptFailureReported_) return RetryAcceptLater();
  acceptFailureReported_ = true;
  Notice("Falha ao aceitar conex\xE3o: " + Windows1252FromQString(server_.errorString()) +
         "; nova tentativa em " + std::to_string(kAcceptPauseMs) + " ms.");
  RetryAcceptLater();
}

void QtTerminalListener::RetryAcceptLater() {
  QTimer::singleShot(kAcceptPauseMs, this, [this] {
    if (server_.isListening()) server_.resumeAccepting();
  });
}

void QtTerminalListener::Notice(const std::string& message) {
  Guarded([&] {
    if (events_) events_->ConnectionNotice(message);
  });
}

void QtTerminalListener::ReadAvailable(const std::shared_ptr<QtTerminalConnection>& connection) {
  QTcpSocket* socket = connection->socket();
  if (socket == nullptr) return;
  const QByteArray bytes = socket->readAll();
  if (bytes.isEmpty()) return;
  const std::string unit(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  Guarded([&] {
    if (events_) events_->ServerClientRead(connection, unit);
  });
  // The answer leaves now, whole, not after the other terminals' events of
  // this pass of the event loop.
  connection->flush();
}

void QtTerminalListener::Dropped(QtTerminalConnection* connection) {
  connection->markClosed();
  auto found = std::find_if(active_.begin(), active_.end(),
                            [connection](const auto& held) { return held.get() == connection; });
  if (found == active_.end()) return;
  // Released after the socket's signal has returned: the socket goes with it.
  std::shared_ptr<TerminalConnection> held = *found;
  active_.erase(found);
  if (QTcpSocket* socket = connection->socket()) socket->deleteLater();
  Guarded([&] {
    if (events_) events_->ClientDisconnect(held);
  });
}

void QtTerminalListener::Guarded(const std::function<void()>& work) {
  RunGuarded(
      [this](const std::string& message) {
        if (events_) events_->HandleError(message);
      },
      work);
}

}  // namespace mts
