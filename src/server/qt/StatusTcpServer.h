#pragma once

#include <QTcpServer>

namespace mts {

// The status listener's socket. It keeps a misbehaving client from costing
// the server memory, file descriptors or time, whatever it sends:
// - at most `maxConnections` are open at once; one more is answered 503 and
//   closed before the HTTP server sees it;
// - every connection's bytes pass an HttpRequestGuard before the HTTP server
//   reads them; a refused request is answered with its error and closed;
// - a connection must complete a request head within `requestTimeoutMs` of
//   its start or of its previous request, or it is closed (408 when a request
//   was under way).
class StatusTcpServer final : public QTcpServer {
  Q_OBJECT

 public:
  explicit StatusTcpServer(QObject* parent = nullptr, int maxConnections = 32,
                           int requestTimeoutMs = 10000);

  int openConnections() const { return open_; }

 protected:
  void incomingConnection(qintptr descriptor) override;

 private:
  int maxConnections_;
  int requestTimeoutMs_;
  int open_ = 0;
};

}  // namespace mts
