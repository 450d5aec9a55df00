#include "server/qt/ShutdownSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <string>

namespace mts {
namespace {

volatile std::sig_atomic_t signalPipeWriteEnd = -1;
struct sigaction previousInt {};
struct sigaction previousTerm {};

extern "C" void OnShutdownSignal(int) {
  const int saved = errno;
  const char byte = 1;
  if (signalPipeWriteEnd >= 0) {
    [[maybe_unused]] ssize_t written = write(signalPipeWriteEnd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

ShutdownSignals::ShutdownSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  }
  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
  signalPipeWriteEnd = pipe_[1];

  struct sigaction action {};
  action.sa_handler = OnShutdownSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, &previousInt);
  sigaction(SIGTERM, &action, &previousTerm);
}

ShutdownSignals::~ShutdownSignals() {
  sigaction(SIGINT, &previousInt, nullptr);
  sigaction(SIGTERM, &previousTerm, nullptr);
  signalPipeWriteEnd = -1;
  notifier_.reset();
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void ShutdownSignals::Drain() {
  char bytes[16];
  bool signalled = false;
  while (read(pipe_[0], bytes, sizeof bytes) > 0) signalled = true;
  if (signalled && onSignal_) onSignal_();
}

}  // namespace mts
