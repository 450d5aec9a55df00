#include "server/qt/QtTerminalListener.h"

#include <algorithm>

#include "server/qt/HandlerGuard.h"
#include "server/qt/Windows1252.h"

namespace mts {

QtTerminalListener::QtTerminalListener(QObject* parent) : QObject(parent) {
  connect(&server_, &QTcpServer::newConnection, this, [this] { AcceptPending(); });
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
  if (!server_.listen(QHostAddress::Any, static_cast<quint16>(port))) {
    error = "N\xE3o foi poss\xEDvel abrir a porta " + std::to_string(port) + ": " +
            ToWindows1252(server_.errorString());
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
  }
}

void QtTerminalListener::AcceptPending() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    auto connection = std::make_shared<QtTerminalConnection>(socket);
    active_.push_back(connection);
    Watch(connection);
    Guarded([&] {
      if (events_) events_->ClientConnect(connection);
    });
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
          [this, socket](QAbstractSocket::SocketError error) {
            // A peer that closes (or resets) its end is a disconnect, not an error.
            if (error == QAbstractSocket::RemoteHostClosedError) return;
            const std::string message = ToWindows1252(socket->errorString());
            Guarded([&] {
              if (events_) events_->HandleError(message);
            });
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
}

void QtTerminalListener::Guarded(const std::function<void()>& work) {
  RunGuarded(
      [this](const std::string& message) {
        if (events_) events_->HandleError(message);
      },
      work);
}

}  // namespace mts
