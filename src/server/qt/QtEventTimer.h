#pragma once

#include <QObject>
#include <functional>

#include "server/TerminalConnection.h"
#include "server/qt/HandlerGuard.h"

namespace mts {

// Delayed calls on the Qt event loop of the thread that made it, with precise
// single-shot timers. Each call runs guarded: an exception escaping it goes
// to the error sink (the server's error handler), and what it writes to
// terminals leaves when it ends (QtOutputBatch). Calls still pending when the
// object is destroyed are dropped.
class QtEventTimer final : public EventTimer {
 public:
  explicit QtEventTimer(ErrorSink onError);

  void callAfter(int milliseconds, std::function<void()> work) override;
  void post(std::function<void()> work) override;

 private:
  ErrorSink onError_;
  // The receiver of every pending call: they go with it.
  QObject calls_;
};

}  // namespace mts
