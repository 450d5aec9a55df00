#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
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

}  // namespace mts::testing_support
