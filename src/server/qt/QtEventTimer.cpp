#include "server/qt/QtEventTimer.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace mts {

QtEventTimer::QtEventTimer(ErrorSink onError) : onError_(std::move(onError)) {}

void QtEventTimer::callAfter(int milliseconds, std::function<void()> work) {
  QTimer::singleShot(std::max(milliseconds, 0), Qt::PreciseTimer, &calls_,
                     [this, work = std::move(work)] { RunGuarded(onError_, work); });
}

}  // namespace mts
