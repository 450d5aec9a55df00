#pragma once

#include <QAbstractHttpServer>
#include <functional>
#include <string>

#include "server/status/StatusSnapshot.h"

class QTcpServer;

namespace mts {

// The status page, /status and /metrics over HTTP, served from the server's
// own event loop: a request is answered while no terminal event runs, so the
// snapshot it takes is consistent and nothing is locked. Read-only: it only
// takes snapshots. Each connection gets one response and is closed.
// HEAD is answered like GET without the body; requests it does not serve get
// 404 or 405; malformed,
// oversized and stalled ones are stopped by its socket (StatusTcpServer).
class StatusHttpServer final : public QAbstractHttpServer {
  Q_OBJECT

 public:
  using SnapshotSource = std::function<StatusSnapshot()>;

  explicit StatusHttpServer(SnapshotSource snapshot, QObject* parent = nullptr);
  ~StatusHttpServer() override;

  // Listens on the address (dotted decimal, or "0.0.0.0" for every address)
  // and port. Returns false with a readable message (Windows-1252) when the
  // address is not valid or the port cannot be bound.
  bool start(const std::string& address, int port, std::string& error);
  // The port it listens on (useful when started on port 0); 0 before start.
  int port() const;

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  SnapshotSource snapshot_;
  QTcpServer* listener_ = nullptr;
};

}  // namespace mts
