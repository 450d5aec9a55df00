#include "server/qt/QtTerminalConnection.h"

#include "server/qt/QtOutputBatch.h"

namespace mts {

std::string DottedAddress(const QHostAddress& address) {
  bool isIpv4 = false;
  const quint32 ipv4 = address.toIPv4Address(&isIpv4);
  const QString text = isIpv4 ? QHostAddress(ipv4).toString() : address.toString();
  return text.toStdString();
}

QtTerminalConnection::QtTerminalConnection(QTcpSocket* socket)
    : socket_(socket), address_(DottedAddress(socket->peerAddress())) {}

bool QtTerminalConnection::isOpen() const {
  return !closed_ && socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void QtTerminalConnection::send(std::string_view bytes) {
  if (!isOpen() || bytes.empty()) return;
  // Qt sends what was written when control returns to the event loop (or at
  // flush), so a screen drawn piece by piece leaves in one write instead of
  // one per piece.
  socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
  QtOutputBatch::Note(socket_.data());
  if (maxPendingOutput_ > 0 && socket_->bytesToWrite() > maxPendingOutput_) {
    markClosed();
    if (overflow_) overflow_();
  }
}

void QtTerminalConnection::flush() {
  if (isOpen()) socket_->flush();
}

}  // namespace mts
