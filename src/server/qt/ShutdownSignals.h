#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace mts {

// Turns SIGINT and SIGTERM into a call on the event loop, where Qt may be used.
//
// The signals are blocked and read from a signal descriptor, so no handler runs
// in any thread: the database client library installs handlers of its own that
// would start its own shutdown on another thread, racing with ours for the
// engine it unloads. Call BlockInEveryThread() first thing in main, before any
// thread exists (threads inherit the mask); a thread started earlier could
// still take the signal. One instance at a time. The signals stay blocked after
// it is destroyed: one that arrives while the process is stopping changes
// nothing.
class ShutdownSignals final : public QObject {
  Q_OBJECT

 public:
  static void BlockInEveryThread();

  explicit ShutdownSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  ~ShutdownSignals() override;

 private:
  void Drain();

  std::function<void()> onSignal_;
  int descriptor_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace mts
