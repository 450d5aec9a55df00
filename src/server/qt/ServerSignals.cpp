#include "server/qt/ServerSignals.h"

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

sigset_t AnsweredSignals() {
  sigset_t answered;
  sigemptyset(&answered);
  sigaddset(&answered, SIGINT);
  sigaddset(&answered, SIGTERM);
  sigaddset(&answered, SIGHUP);
  return answered;
}

// Signals whose default ends the process although nothing is wrong with it.
// A handler installed later (the database client's) still takes over its own.
void IgnoreStrayTerminations() {
  for (int signal :
       {SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGIO, SIGPWR, SIGSTKFLT}) {
    std::signal(signal, SIG_IGN);
  }
}

}  // namespace

void ServerSignals::BlockInEveryThread() {
  IgnoreStrayTerminations();
  const sigset_t answered = AnsweredSignals();
  pthread_sigmask(SIG_BLOCK, &answered, nullptr);
}

ServerSignals::ServerSignals(std::function<void()> onStop, std::function<void()> onReopenLog,
                             QObject* parent)
    : QObject(parent), onStop_(std::move(onStop)), onReopenLog_(std::move(onReopenLog)) {
  BlockInEveryThread();
  const sigset_t answered = AnsweredSignals();
  descriptor_ = signalfd(-1, &answered, SFD_NONBLOCK | SFD_CLOEXEC);
  if (descriptor_ < 0) {
    throw std::runtime_error(std::string("signalfd: ") + std::strerror(errno));
  }
  notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
}

ServerSignals::~ServerSignals() {
  notifier_.reset();
  ::close(descriptor_);
}

void ServerSignals::Drain() {
  signalfd_siginfo info{};
  bool stop = false;
  bool reopen = false;
  while (read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    if (info.ssi_signo == SIGHUP) {
      reopen = true;
    } else {
      stop = true;
    }
  }
  if (reopen && onReopenLog_) onReopenLog_();
  if (stop && onStop_) onStop_();
}

}  // namespace mts
