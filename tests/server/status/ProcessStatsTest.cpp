#include "server/status/ProcessStats.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>

namespace mts {
namespace {

// A proc file system of the test's own, for one process.
class FakeProc : public testing::Test {
 protected:
  FakeProc() {
    root_ = std::filesystem::temp_directory_path() /
            ("mts-proc-" + std::to_string(::getpid()) + "-" +
             testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "self" / "fd");
    files_ = {root_ / "self", root_ / "stat", 100};
  }
  ~FakeProc() override { std::filesystem::remove_all(root_); }

  void Write(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(root_ / file) << text;
  }

  std::filesystem::path root_;
  ProcFiles files_;
};

TEST_F(FakeProc, ReadsMemoryDescriptorsAndStartTime) {
  Write("self/status", "Name:\tmtserver\nVmPeak:\t  90000 kB\nVmRSS:\t   51200 kB\n");
  for (const char* fd : {"0", "1", "2", "7"}) Write(std::filesystem::path("self/fd") / fd, "");
  // The command name holds blanks and a parenthesis; the start is 12345 ticks.
  Write("self/stat",
        "4242 (mt server) x) S 1 4242 4242 0 -1 4194560 900 0 0 0 12 3 0 0 20 0 2 0 12345 "
        "300000000 12800 18446744073709551615\n");
  Write("stat", "cpu  1 2 3\nintr 5\nbtime 1772700000\nprocesses 9\n");

  const ProcessStats stats = ReadProcessStats(files_);
  EXPECT_EQ(stats.residentBytes, 51200u * 1024);
  EXPECT_EQ(stats.openDescriptors, 4u);
  ASSERT_TRUE(stats.startTime.has_value());
  EXPECT_DOUBLE_EQ(*stats.startTime, 1772700000 + 123.45);
}

TEST_F(FakeProc, WhatCannotBeReadIsLeftAbsent) {
  std::filesystem::remove_all(root_ / "self" / "fd");
  Write("self/status", "Name:\tkernel thread, no memory line\n");
  Write("self/stat", "4242 (short) S 1\n");
  Write("stat", "btime 1772700000\n");
  const ProcessStats stats = ReadProcessStats(files_);
  EXPECT_FALSE(stats.residentBytes);
  EXPECT_FALSE(stats.openDescriptors);
  EXPECT_FALSE(stats.startTime);
}

// The real figures of this very process are there and plausible.
TEST(ProcessStats, OfThisProcess) {
  const ProcessStats stats = ReadProcessStats();
  ASSERT_TRUE(stats.residentBytes && stats.openDescriptors && stats.startTime);
  EXPECT_GT(*stats.residentBytes, 1024u * 1024);
  EXPECT_GE(*stats.openDescriptors, 3u);
  const double now =
      std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
  EXPECT_LE(*stats.startTime, now + 1);
  EXPECT_GT(*stats.startTime, now - 24 * 3600);
}

}  // namespace
}  // namespace mts
