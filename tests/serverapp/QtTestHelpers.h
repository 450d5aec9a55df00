#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <functional>

namespace mts::testing_support {

// Runs the event loop until the condition holds; false when it did not
// within a generous limit (only there to end a broken test).
inline bool WaitUntil(const std::function<bool()>& condition, int limitMs = 30000) {
  QDeadlineTimer limit(limitMs);
  while (!condition()) {
    if (limit.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// A TCP port nobody listens on right now.
inline int FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::Any, 0);
  return probe.serverPort();
}

}  // namespace mts::testing_support
