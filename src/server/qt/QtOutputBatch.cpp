#include "server/qt/QtOutputBatch.h"

#include <algorithm>

namespace mts {

namespace {

thread_local QtOutputBatch* innermost = nullptr;

}  // namespace

QtOutputBatch::QtOutputBatch() : outer_(innermost) {
  innermost = this;
}

QtOutputBatch::~QtOutputBatch() {
  innermost = outer_;
  for (const QPointer<QTcpSocket>& socket : written_) {
    if (socket && socket->state() == QAbstractSocket::ConnectedState) socket->flush();
  }
}

void QtOutputBatch::Note(QTcpSocket* socket) {
  if (innermost == nullptr || socket == nullptr) return;
  std::vector<QPointer<QTcpSocket>>& written = innermost->written_;
  // A batch touches one terminal, or a few: a look along the list is enough.
  const bool known = std::any_of(written.begin(), written.end(),
                                 [socket](const QPointer<QTcpSocket>& s) { return s == socket; });
  if (!known) written.emplace_back(socket);
}

}  // namespace mts
