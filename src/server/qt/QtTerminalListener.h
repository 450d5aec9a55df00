#pragma once

#include <QObject>
#include <QTcpServer>
#include <memory>
#include <string>

#include "server/TerminalListener.h"
#include "server/qt/QtTerminalConnection.h"

namespace mts {

// The listening socket: a QTcpServer on every local address, served by the
// event loop of the thread that created it (non-blocking, one thread).
//
// Owns the accepted sockets and holds each open connection by shared_ptr in
// the active list, in the order they connected; a connection leaves the list
// (and reads closed) when its peer leaves or the listener closes. Connect and
// read events go to the TerminalEvents given to setEvents; an exception from
// them, and an error on a terminal connection, go to its HandleError.
class QtTerminalListener final : public QObject, public TerminalListener {
  Q_OBJECT

 public:
  explicit QtTerminalListener(QObject* parent = nullptr);
  ~QtTerminalListener() override;

  // The receiver of connect, read and error events; must outlive the
  // listener, or be replaced by nullptr before it goes.
  void setEvents(TerminalEvents* events) { events_ = events; }

  bool open(int port, std::string& error) override;
  void close() override;
  bool isListening() const override { return server_.isListening(); }
  const ActiveConnections& activeConnections() const override { return active_; }

 private:
  void AcceptPending();
  void Watch(const std::shared_ptr<QtTerminalConnection>& connection);
  void ReadAvailable(const std::shared_ptr<QtTerminalConnection>& connection);
  void Dropped(QtTerminalConnection* connection);
  void Guarded(const std::function<void()>& work);

  QTcpServer server_;
  ActiveConnections active_;
  TerminalEvents* events_ = nullptr;
};

}  // namespace mts
