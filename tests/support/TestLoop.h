#pragma once

// The event loop of a test: work posted from any thread runs on the thread
// that drains it.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace mts::test {

// The event loop, as the test thread runs it.
class TestLoop {
 public:
  // How long a wait lasts before the test gives up.
  static constexpr std::chrono::milliseconds kPatience{30000};

  void Post(std::function<void()> work) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(work));
    }
    posted_.notify_all();
  }

  // Runs what is posted until `done` holds; false when patience runs out.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kPatience) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_until(lock, end, [&] { return !queue_.empty(); })) return done();
      std::function<void()> work = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      work();
    }
    return true;
  }
  // Waits, without running anything, until `count` pieces of work are posted.
  bool WaitForPending(std::size_t count) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, kPatience, [&] { return queue_.size() >= count; });
  }
  // Runs what is posted within `span`.
  void RunFor(std::chrono::milliseconds span) {
    RunUntil([] { return false; }, span);
  }

  const std::thread::id thread = std::this_thread::get_id();

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace mts::test
