#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace mts {

// Turns SIGINT and SIGTERM into a call on the event loop. The signal handler
// only writes one byte to a pipe; a notifier on the pipe's other end runs the
// callback from the event loop, where Qt may be used. One instance at a time;
// the previous handlers come back when it is destroyed.
class ShutdownSignals final : public QObject {
  Q_OBJECT

 public:
  explicit ShutdownSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  ~ShutdownSignals() override;

 private:
  void Drain();

  std::function<void()> onSignal_;
  int pipe_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace mts
