#pragma once

#include <QObject>
#include <QTimer>
#include <string>

namespace mts {

// Tells systemd how the service is doing, through the NOTIFY_SOCKET the
// service manager gives a Type=notify unit: ready, stopping, a status line,
// and the watchdog petted from the event loop, so a loop that freezes stops
// petting and systemd restarts the service. Without NOTIFY_SOCKET (not run by
// systemd) every call does nothing. Event-loop thread only.
class SystemdNotifier final : public QObject {
  Q_OBJECT

 public:
  // Starts petting the watchdog at half its interval when systemd asked for
  // one (WATCHDOG_USEC, for this process).
  explicit SystemdNotifier(QObject* parent = nullptr);

  // READY=1 with a status line: start-up is over and the port listens.
  void ready(const std::string& status);
  // A status line only (for example why the service never became ready).
  void status(const std::string& status);
  // STOPPING=1, once: shutdown has begun. The watchdog stops with it.
  void stopping();

  // The watchdog interval systemd asked for, in milliseconds; 0 when none.
  int watchdogIntervalMs() const { return watchdogMs_; }

 private:
  static void Notify(const std::string& state);

  QTimer watchdog_;
  int watchdogMs_ = 0;
  bool stopping_ = false;
};

}  // namespace mts
