#pragma once

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "server/TerminalConnection.h"

namespace mts {

// The address as dotted decimal text; an IPv4 address seen through an IPv6
// socket (::ffff:a.b.c.d) reads as a.b.c.d. Other IPv6 addresses keep Qt's
// text.
std::string DottedAddress(const QHostAddress& address);

// A terminal connection over an accepted QTcpSocket. The listener owns the
// socket (it is the socket's Qt parent); this object only points at it and
// notices when it is gone. The remote address is taken at construction, so it
// stays readable after the peer has left.
class QtTerminalConnection final : public TerminalConnection {
 public:
  explicit QtTerminalConnection(QTcpSocket* socket);

  std::string remoteAddress() const override { return address_; }
  bool isOpen() const override;
  // Queues the bytes; they reach the system at the next flush, at the end of
  // the QtOutputBatch around the work that sent them, or when control returns
  // to the event loop, whichever comes first, and are dropped when the
  // connection is closed. When more than `maxPendingOutput` bytes are waiting
  // for a peer that does not read, the connection is closed at once and the
  // overflow callback told (it must not destroy this object synchronously).
  void send(std::string_view bytes) override;
  // Hands everything queued to the system now.
  void flush();

  void setOutputLimit(qint64 maxPendingOutput, std::function<void()> overflow) {
    maxPendingOutput_ = maxPendingOutput;
    overflow_ = std::move(overflow);
  }

  // Called by the listener when the connection ends: isOpen is false after it.
  void markClosed() { closed_ = true; }
  QTcpSocket* socket() const { return socket_.data(); }

 private:
  QPointer<QTcpSocket> socket_;
  std::string address_;
  bool closed_ = false;
  qint64 maxPendingOutput_ = 0;  // 0: no limit
  std::function<void()> overflow_;
};

}  // namespace mts
