#include "dataaccess/firebird/BoundedAttach.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace mts::db {
namespace {

// The attach threads still running, for a clean shutdown of the library:
// stopping it while one of them is inside it waits for that thread.
struct InFlight {
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t count = 0;
};

InFlight& inFlight() {
  static InFlight* const instance = new InFlight;  // used by threads that may outlive main()
  return *instance;
}

void detachQuietly(Firebird::IAttachment* attachment) {
  if (attachment == nullptr) return;
  fb::Status status;
  try {
    attachment->detach(&status);  // releases the interface
  } catch (const Firebird::FbException&) {
    // The link is gone already: forgetting the attachment is all that is left.
    attachment->release();
  }
}

std::string durationText(std::chrono::milliseconds duration) {
  if (duration.count() % 1000 == 0) return std::to_string(duration.count() / 1000) + " s";
  return std::to_string(duration.count()) + " ms";
}

}  // namespace

struct BoundedAttach::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool finished = false;
  bool cancelled = false;
  bool abandoned = false;  // nobody waits any more: a late attachment is detached
  Firebird::IAttachment* attachment = nullptr;
  std::optional<DatabaseError> failure;
};

BoundedAttach::BoundedAttach(std::string database, std::vector<unsigned char> dpb)
    : state_(std::make_shared<State>()) {
  {
    std::lock_guard lock(inFlight().mutex);
    ++inFlight().count;
  }
  try {
    std::thread([state = state_, database = std::move(database), dpb = std::move(dpb)] {
      attach(state, database, dpb);
      std::lock_guard lock(inFlight().mutex);
      --inFlight().count;
      inFlight().changed.notify_all();
    }).detach();
  } catch (...) {
    std::lock_guard lock(inFlight().mutex);
    --inFlight().count;
    throw;
  }
}

BoundedAttach::~BoundedAttach() {
  Firebird::IAttachment* late = nullptr;
  {
    std::lock_guard lock(state_->mutex);
    state_->abandoned = true;
    std::swap(late, state_->attachment);
  }
  detachQuietly(late);  // made, but never taken by wait()
}

Firebird::IAttachment* BoundedAttach::wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(state_->mutex);
  state_->changed.wait_for(lock, timeout, [&] { return state_->finished || state_->cancelled; });
  if (state_->attachment != nullptr) return std::exchange(state_->attachment, nullptr);
  if (state_->finished && state_->failure) throw *state_->failure;
  if (state_->cancelled) {
    throw DatabaseError("The connection to the database was cancelled before it was made",
                        DatabaseError::Cause::Cancelled);
  }
  throw DatabaseError("The database server did not answer within " + durationText(timeout) +
                          ": the database is out of reach",
                      DatabaseError::Cause::ConnectionLost);
}

void BoundedAttach::cancel() {
  std::lock_guard lock(state_->mutex);
  state_->cancelled = true;
  state_->changed.notify_all();
}

void BoundedAttach::attach(const std::shared_ptr<State>& state, const std::string& database,
                           const std::vector<unsigned char>& dpb) {
  Firebird::IProvider* provider = fb::master()->getDispatcher();
  Firebird::IAttachment* attachment = nullptr;
  std::optional<DatabaseError> failure;
  {
    fb::Status status;
    try {
      attachment = provider->attachDatabase(&status, database.c_str(),
                                            static_cast<unsigned>(dpb.size()), dpb.data());
    } catch (const Firebird::FbException& error) {
      failure = fb::toDatabaseError(error);
    }
  }
  provider->release();

  std::unique_lock lock(state->mutex);
  state->finished = true;
  if (state->abandoned) {
    lock.unlock();
    detachQuietly(attachment);  // too late for its caller: nothing stays attached in its name
    return;
  }
  state->attachment = attachment;
  state->failure = std::move(failure);
  state->changed.notify_all();
}

std::size_t attachesInFlight() {
  std::lock_guard lock(inFlight().mutex);
  return inFlight().count;
}

bool waitForAttachesInFlight(std::chrono::milliseconds timeout) {
  std::unique_lock lock(inFlight().mutex);
  return inFlight().changed.wait_for(lock, timeout, [] { return inFlight().count == 0; });
}

}  // namespace mts::db
