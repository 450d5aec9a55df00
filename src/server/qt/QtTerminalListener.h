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
// (and reads closed) when its peer leaves or the listener closes. Connect,
// read and disconnect events go to the TerminalEvents given to setEvents; an
// exception from them goes to its HandleError.
//
// One terminal's trouble stays with that terminal: a socket error other than
// the peer closing, or more than the output limit queued for a peer that does
// not read, closes that connection alone and is reported to ConnectionNotice.
// Connections have TCP keepalive on, so a terminal that lost power is noticed.
// Past the connection limit (the one set, lowered to what the process's
// descriptor limit leaves after a reserve) a new connection is closed as soon
// as accepted; when accepting fails all the same (descriptors used elsewhere)
// accepting pauses for a while instead of failing again at once.
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

  static constexpr std::size_t kDefaultMaxConnections = 256;
  static constexpr qint64 kDefaultMaxPendingOutput = 64 * 1024;
  static constexpr int kAcceptPauseMs = 1000;
  static constexpr int kListenBacklog = 1024;
  // At most this much is read from one connection per read event.
  static constexpr qint64 kReadChunk = 4096;
  void setMaxConnections(std::size_t limit) override { maxConnections_ = limit; }
  void setMaxPendingOutput(qint64 bytes) { maxPendingOutput_ = bytes; }

 private:
  void AcceptPending();
  void Watch(const std::shared_ptr<QtTerminalConnection>& connection);
  void ReadAvailable(const std::shared_ptr<QtTerminalConnection>& connection);
  void Dropped(QtTerminalConnection* connection);
  void CloseOne(const std::weak_ptr<QtTerminalConnection>& connection, const std::string& notice);
  void AcceptFailed();
  void RetryAcceptLater();
  void Notice(const std::string& message);
  void Guarded(const std::function<void()>& work);

  QTcpServer server_;
  ActiveConnections active_;
  TerminalEvents* events_ = nullptr;
  std::size_t maxConnections_ = kDefaultMaxConnections;
  qint64 maxPendingOutput_ = kDefaultMaxPendingOutput;
  // The limit is reported once each time it is reached, not once per refusal.
  bool limitReported_ = false;
  bool acceptFailureReported_ = false;
};

}  // namespace mts
