#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

// A worker keeps the error of a cut transaction while the loop thread shows a
// copy of it, and either may let go of its copy last. The two threads are
// ordered here only by a relaxed flag, as they are in the server only by the
// standard library's reference counts, which the thread race checker does not
// see: a text shared by the copies shows up as a race between the reader on
// one thread and the free on the other.
TEST(DatabaseErrorThreadsTest, ACopyReadOnAnotherThreadSharesNoTextWithTheOriginal) {
  std::optional<DatabaseError> kept(std::in_place,
                                    "The transaction was cut off: the operation ran past its "
                                    "deadline and was cancelled",
                                    DatabaseError::Cause::Cancelled);
  std::optional<DatabaseError> shownCopy(*kept);
  std::atomic<bool> shown{false};
  std::size_t shownLength = 0;
  std::thread loop([&] {
    shownLength = std::strlen(shownCopy->what());
    shownCopy.reset();
    shown.store(true, std::memory_order_relaxed);
  });
  while (!shown.load(std::memory_order_relaxed)) std::this_thread::yield();
  kept.reset();  // the last copy goes on this thread
  loop.join();
  EXPECT_GT(shownLength, 0u);
}

}  // namespace
}  // namespace mts::db
