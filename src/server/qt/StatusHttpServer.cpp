#include "server/qt/StatusHttpServer.h"

#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>
#include <utility>

#include "server/qt/QtText.h"
#include "server/qt/StatusTcpServer.h"
#include "server/status/StatusRoutes.h"

namespace mts {
namespace {

QByteArray MethodName(QHttpServerRequest::Method method) {
  switch (method) {
    case QHttpServerRequest::Method::Get:
      return "GET";
    case QHttpServerRequest::Method::Head:
      return "HEAD";
    case QHttpServerRequest::Method::Post:
      return "POST";
    case QHttpServerRequest::Method::Put:
      return "PUT";
    case QHttpServerRequest::Method::Delete:
      return "DELETE";
    default:
      return "OTHER";
  }
}

}  // namespace

StatusHttpServer::StatusHttpServer(SnapshotSource snapshot, QObject* parent)
    : QAbstractHttpServer(parent), snapshot_(std::move(snapshot)) {}

StatusHttpServer::~StatusHttpServer() = default;

bool StatusHttpServer::start(const std::string& address, int port, std::string& error) {
  QHostAddress host;
  if (!host.setAddress(QString::fromStdString(address))) {
    error = "Endere\xE7o de status inv\xE1lido: " + address;
    return false;
  }
  if (port < 1 || port > 65535) {
    error = "Porta de status inv\xE1lida: " + std::to_string(port);
    return false;
  }
  auto* listener = new StatusTcpServer(this);
  if (!listener->listen(host, static_cast<quint16>(port))) {
    error = "N\xE3o foi poss\xEDvel abrir a porta de status " + std::to_string(port) + ": " +
            Windows1252FromQString(listener->errorString());
    delete listener;
    return false;
  }
  bind(listener);
  listener_ = listener;
  return true;
}

int StatusHttpServer::port() const {
  return listener_ ? listener_->serverPort() : 0;
}

bool StatusHttpServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  const QByteArray path = request.url().path().toUtf8();
  const StatusReply reply =
      StatusReplyFor(MethodName(request.method()).toStdString(), path.toStdString(), snapshot_);
  {
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(reply.status));
    responder.writeHeaders({{"Content-Type", QByteArray::fromStdString(reply.contentType)},
                            {"Cache-Control", "no-store"},
                            {"Connection", "close"}});
    if (!reply.allow.empty())
      responder.writeHeader("Allow", QByteArray::fromStdString(reply.allow));
    // A reply to HEAD announces the length of the body it leaves out.
    responder.writeHeader("Content-Length", QByteArray::number(reply.body.size()));
    responder.writeBody(reply.body.data(),
                        reply.headOnly ? 0 : static_cast<qint64>(reply.body.size()));
  }
  // One response per connection: the HTTP server would otherwise keep every
  // connection open, whatever the client asked (HTTP/1.0 and "Connection:
  // close" included). The socket closes once the response has been sent.
  socket->disconnectFromHost();
  return true;
}

void StatusHttpServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  // handleRequest answers every request; this is only here because it must be.
  makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}

}  // namespace mts
