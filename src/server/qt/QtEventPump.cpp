#include "server/qt/QtEventPump.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace mts {

void QtEventPump::pause(int milliseconds) {
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  deadline.start(std::max(milliseconds, 0));
  loop.exec();
}

}  // namespace mts
