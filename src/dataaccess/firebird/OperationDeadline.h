#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "dataaccess/firebird/Connection.h"

namespace mts::db {

// Stops a connection's work that runs past its deadline. One per connection,
// with a thread of its own; the thread that owns the connection arms it
// around each unit of work:
//
//   OperationDeadline deadline(connection);
//   deadline.arm(std::chrono::seconds(15));
//   ... statements, commit ...      // a DatabaseError with cancelled() when late
//   const bool late = deadline.disarm();
//
// At the deadline it cancels (CancelMode::Raise), which a server that answers
// acts on at once; when the work still runs `abortAfter` later (a hung
// server), it aborts, which gives the owner its thread back at once. No cancel
// is sent once disarm() has returned.
class OperationDeadline {
 public:
  explicit OperationDeadline(Connection& connection,
                             std::chrono::milliseconds abortAfter = std::chrono::seconds(1));
  ~OperationDeadline();
  OperationDeadline(const OperationDeadline&) = delete;
  OperationDeadline& operator=(const OperationDeadline&) = delete;

  // Starts the clock: the work must end within `limit` from now.
  void arm(std::chrono::milliseconds limit);
  // Stops the clock; true when the deadline passed since arm() (and a cancel
  // was sent).
  bool disarm();

 private:
  void watch();

  Connection& connection_;
  const std::chrono::milliseconds abortAfter_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  bool armed_ = false;
  bool expired_ = false;
  std::uint64_t generation_ = 0;  // every arm() and disarm() starts a new one
  std::chrono::steady_clock::time_point deadline_;
  std::thread thread_;
};

}  // namespace mts::db
