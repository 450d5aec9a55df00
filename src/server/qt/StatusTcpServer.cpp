#include "server/qt/StatusTcpServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <string>

#include "server/status/HttpRequestGuard.h"

namespace mts {
namespace {

void RefuseAndClose(QTcpSocket* socket, const HttpRequestGuard::Refusal& refusal) {
  const std::string response = HttpRequestGuard::RefusalResponse(refusal);
  socket->write(response.data(), static_cast<qint64>(response.size()));
  socket->disconnectFromHost();
}

}  // namespace

StatusTcpServer::StatusTcpServer(QObject* parent, int maxConnections, int requestTimeoutMs)
    : QTcpServer(parent), maxConnections_(maxConnections), requestTimeoutMs_(requestTimeoutMs) {}

void StatusTcpServer::incomingConnection(qintptr descriptor) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(descriptor)) {
    delete socket;
    return;
  }
  connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
  if (open_ >= maxConnections_) {
    RefuseAndClose(socket, {503, "Service Unavailable"});
    return;
  }
  ++open_;
  connect(socket, &QObject::destroyed, this, [this] { --open_; });

  auto guard = std::make_shared<HttpRequestGuard>();
  auto* deadline = new QTimer(socket);
  deadline->setSingleShot(true);
  deadline->setInterval(requestTimeoutMs_);
  connect(deadline, &QTimer::timeout, socket, [socket, guard] {
    if (guard->inRequest()) {
      RefuseAndClose(socket, {408, "Request Timeout"});
    } else {
      socket->disconnectFromHost();
    }
  });
  deadline->start();

  // Connected before the HTTP server connects its own handler, so it sees
  // the bytes first; peek() leaves them for the server when they pass.
  connect(socket, &QIODevice::readyRead, socket, [socket, guard, deadline] {
    if (guard->refused()) {
      socket->readAll();
      return;
    }
    const int before = guard->requests();
    const QByteArray bytes = socket->peek(socket->bytesAvailable());
    if (!guard->feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
      socket->readAll();
      deadline->stop();
      RefuseAndClose(socket, guard->refusal());
      return;
    }
    if (guard->requests() != before) deadline->start();
  });
  addPendingConnection(socket);
}

}  // namespace mts
