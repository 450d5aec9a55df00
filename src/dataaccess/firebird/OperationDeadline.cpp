#include "dataaccess/firebird/OperationDeadline.h"

namespace mts::db {

OperationDeadline::OperationDeadline(Connection& connection, std::chrono::milliseconds abortAfter)
    : connection_(connection), abortAfter_(abortAfter), thread_([this] { watch(); }) {}

OperationDeadline::~OperationDeadline() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void OperationDeadline::arm(std::chrono::milliseconds limit) {
  {
    std::lock_guard lock(mutex_);
    armed_ = true;
    expired_ = false;
    deadline_ = std::chrono::steady_clock::now() + limit;
    ++generation_;
  }
  changed_.notify_all();
}

bool OperationDeadline::disarm() {
  bool expired = false;
  {
    std::lock_guard lock(mutex_);
    armed_ = false;
    ++generation_;
    expired = expired_;
  }
  changed_.notify_all();
  return expired;
}

// Cancels are sent with the mutex held (cancelOperation() returns at once):
// once disarm() has the mutex, none can follow it.
void OperationDeadline::watch() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (!armed_) {
      changed_.wait(lock);
      continue;
    }
    const std::uint64_t generation = generation_;
    const auto rearmedOrStopping = [&] { return stopping_ || generation_ != generation; };
    if (changed_.wait_until(lock, deadline_, rearmedOrStopping)) continue;
    expired_ = true;
    connection_.cancelOperation(CancelMode::Raise);
    if (changed_.wait_until(lock, deadline_ + abortAfter_, rearmedOrStopping)) continue;
    connection_.cancelOperation(CancelMode::Abort);
    changed_.wait(lock, rearmedOrStopping);
  }
}

}  // namespace mts::db
