#include "server/qt/SystemdNotifier.h"

#include <systemd/sd-daemon.h>

#include <algorithm>
#include <cstdint>

#include "routines/Windows1252Unicode.h"

namespace mts {
namespace {

// A status line is one line of the notify protocol: its own line breaks would
// start new assignments.
std::string OneLine(const std::string& text) {
  std::string line = text::Utf8FromWindows1252(text);
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

}  // namespace

SystemdNotifier::SystemdNotifier(QObject* parent) : QObject(parent) {
  std::uint64_t microseconds = 0;
  if (sd_watchdog_enabled(0, &microseconds) > 0 && microseconds > 0) {
    watchdogMs_ = static_cast<int>(microseconds / 1000);
    watchdog_.setInterval(std::max(1, watchdogMs_ / 2));
    connect(&watchdog_, &QTimer::timeout, this, [] { Notify("WATCHDOG=1"); });
    watchdog_.start();
  }
}

void SystemdNotifier::ready(const std::string& status) {
  Notify("READY=1\nSTATUS=" + OneLine(status));
}

void SystemdNotifier::status(const std::string& status) {
  Notify("STATUS=" + OneLine(status));
}

void SystemdNotifier::stopping() {
  if (stopping_) return;
  stopping_ = true;
  watchdog_.stop();
  Notify("STOPPING=1");
}

void SystemdNotifier::Notify(const std::string& state) {
  // The result is not checked: without systemd there is nobody to tell, and a
  // failed notification must not stop the server.
  sd_notify(0, state.c_str());
}

}  // namespace mts
