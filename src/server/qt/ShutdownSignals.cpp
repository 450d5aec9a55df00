#include "server/qt/ShutdownSignals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <string>

namespace mts {
namespace {

sigset_t StopSignals() {
  sigset_t stopSet;
  sigemptyset(&stopSet);
  sigaddset(&stopSet, SIGINT);
  sigaddset(&stopSet, SIGTERM);
  return stopSet;
}

}  // namespace

void ShutdownSignals::BlockInEveryThread() {
  const sigset_t stopSet = StopSignals();
  pthread_sigmask(SIG_BLOCK, &stopSet, nullptr);
}

ShutdownSignals::ShutdownSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  BlockInEveryThread();
  const sigset_t stopSet = StopSignals();
  descriptor_ = signalfd(-1, &stopSet, SFD_NONBLOCK | SFD_CLOEXEC);
  if (descriptor_ < 0) {
    throw std::runtime_error(std::string("signalfd: ") + std::strerror(errno));
  }
  notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
}

ShutdownSignals::~ShutdownSignals() {
  notifier_.reset();
  ::close(descriptor_);
}

void ShutdownSignals::Drain() {
  signalfd_siginfo info{};
  bool signalled = false;
  while (read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    signalled = true;
  }
  if (signalled && onSignal_) onSignal_();
}

}  // namespace mts
