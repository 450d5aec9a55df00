#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace mts {

// The signals the server answers, turned into calls on the event loop, where
// Qt may be used: SIGINT and SIGTERM stop it; SIGHUP reopens its log file (as
// log rotation expects) and it goes on serving. Every other signal that would
// end a process by default without a fault (SIGUSR1, SIGUSR2, SIGPIPE,
// SIGALRM and the like) is ignored, so nothing but a stop request, a fault or
// SIGKILL ends the server. SIGQUIT keeps its default, a stop with a core dump
// asked for on purpose.
//
// The three signals are blocked and read from a signal descriptor, so no
// handler runs in any thread: the database client library installs handlers
// of its own that would start its own shutdown on another thread, racing with
// ours for the engine it unloads. Call BlockInEveryThread() first thing in
// main, before any thread exists (threads inherit the mask); a thread started
// earlier could still take the signal. One instance at a time. The signals
// stay blocked after it is destroyed: one that arrives while the process is
// stopping changes nothing.
class ServerSignals final : public QObject {
  Q_OBJECT

 public:
  static void BlockInEveryThread();

  ServerSignals(std::function<void()> onStop, std::function<void()> onReopenLog,
                QObject* parent = nullptr);
  ~ServerSignals() override;

 private:
  void Drain();

  std::function<void()> onStop_;
  std::function<void()> onReopenLog_;
  int descriptor_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace mts
