#include "server/qt/QtEventTimer.h"

#include "server/qt/QtOutputBatch.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace mts {

QtEventTimer::QtEventTimer(ErrorSink onError) : onError_(std::move(onError)) {}

void QtEventTimer::callAfter(int milliseconds, std::function<void()> work) {
  QTimer::singleShot(std::max(milliseconds, 0), Qt::PreciseTimer, &calls_,
                     [this, work = std::move(work)] {
                       const QtOutputBatch batch;
                       RunGuarded(onError_, work);
                     });
}

void QtEventTimer::post(std::function<void()> work) {
  // A queued call is an event for calls_, delivered by the loop of its thread
  // whichever thread posts it, and dropped with calls_.
  QMetaObject::invokeMethod(
      &calls_,
      [this, work = std::move(work)] {
        const QtOutputBatch batch;
        RunGuarded(onError_, work);
      },
      Qt::QueuedConnection);
}

}  // namespace mts
