#include "server/ServerLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "TempFolder.h"

namespace mts {
namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// A clock the test sets by hand.
struct ManualClock {
  LocalTime now{2024, 3, 5, 7, 4, 9};
  LocalClock clock() {
    return [this] { return now; };
  }
};

TEST(ServerLog, LineFormat) {
  EXPECT_EQ(FormatLogTime({2024, 3, 5, 7, 4, 9}), "2024-03-05 07:04:09");
  EXPECT_EQ(FormatLogTime({1999, 12, 31, 23, 59, 58}), "1999-12-31 23:59:58");
}

// The fake clock crosses midnight twice and the end of a month; each line
// lands in the file of the day it is written.
TEST(ServerLog, EachLineGoesToTheFileOfItsDay) {
  TempFolder folder;
  ManualClock time;
  time.now = {2024, 2, 28, 23, 59, 59};
  ServerLog log(folder / "log", time.clock());
  EXPECT_EQ(log.fileName(), folder / "log" / "server-log-28.log");

  log.WriteLog("AtivarServer: servidor ativo");
  time.now = {2024, 2, 29, 0, 0, 0};
  EXPECT_EQ(log.fileName(), folder / "log" / "server-log-29.log");
  log.WriteLog("Indice Terminal: 0 Msg: FICHA ATUALIZADA");
  log.WriteLog("Indice Terminal: 1 Msg: FICHA ATUALIZADA");
  time.now = {2024, 3, 1, 0, 0, 1};
  log.WriteLog("servidor desativado.");

  EXPECT_EQ(ReadFile(folder / "log" / "server-log-28.log"),
            "2024-02-28 23:59:59 : AtivarServer: servidor ativo\n");
  EXPECT_EQ(ReadFile(folder / "log" / "server-log-29.log"),
            "2024-02-29 00:00:00 : Indice Terminal: 0 Msg: FICHA ATUALIZADA\n"
            "2024-02-29 00:00:00 : Indice Terminal: 1 Msg: FICHA ATUALIZADA\n");
  EXPECT_EQ(ReadFile(folder / "log" / "server-log-01.log"),
            "2024-03-01 00:00:01 : servidor desativado.\n");
}

struct LeftFileCase {
  const char* name;
  std::string existing;  // server-log-05.log before today's first line
  std::string expected;  // after it
};

void PrintTo(const LeftFileCase& c, std::ostream* out) {
  *out << c.name;
}

class ServerLogLeftFile : public testing::TestWithParam<LeftFileCase> {};

// Today is 2024-03-05: a file of an earlier 5th is started afresh, one
// already begun today (a restart) is appended to.
TEST_P(ServerLogLeftFile, TodaysFirstLineStartsAnOldFileAfresh) {
  TempFolder folder;
  WriteFile(folder / "server-log-05.log", GetParam().existing);
  ManualClock time;
  ServerLog log(folder.path(), time.clock());
  log.WriteLog("AtivarServer: servidor ativo");
  time.now.second = 10;
  log.WriteLog("servidor desativado.");
  EXPECT_EQ(ReadFile(log.fileName()), GetParam().expected);
}

const std::string kTodaysLines =
    "2024-03-05 07:04:09 : AtivarServer: servidor ativo\n"
    "2024-03-05 07:04:10 : servidor desativado.\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerLogLeftFile,
    testing::Values(
        LeftFileCase{"last_month", "2024-02-05 10:00:00 : servidor desativado.\n", kTodaysLines},
        LeftFileCase{"last_year", "2023-03-05 10:00:00 : servidor desativado.\n", kTodaysLines},
        LeftFileCase{"not_a_log_line", "x\n", kTodaysLines},
        LeftFileCase{"empty", "", kTodaysLines},
        LeftFileCase{"begun_today", "2024-03-05 06:00:00 : servidor desativado.\n",
                     "2024-03-05 06:00:00 : servidor desativado.\n" + kTodaysLines}),
    [](const auto& info) { return std::string(info.param.name); });

// Log rotation moves the file away; after Reopen the next line starts a new
// one, even when the folder went too.
TEST(ServerLog, ReopenStartsAgainAfterTheFileOrFolderWasMoved) {
  TempFolder folder;
  ManualClock time;
  ServerLog log(folder / "log", time.clock());
  log.WriteLog("AtivarServer: servidor ativo");
  std::filesystem::rename(folder / "log", folder / "log.1");
  log.Reopen();
  log.WriteLog("Log reaberto.");
  EXPECT_EQ(ReadFile(folder / "log" / "server-log-05.log"),
            "2024-03-05 07:04:09 : Log reaberto.\n");
  EXPECT_EQ(ReadFile(folder / "log.1" / "server-log-05.log"),
            "2024-03-05 07:04:09 : AtivarServer: servidor ativo\n");
}

TEST(ServerLog, CreatesTheFolderWithItsParentsAndKeepsWindows1252Bytes) {
  TempFolder folder;
  ManualClock time;
  time.now.day = 31;
  ServerLog log(folder / "a" / "b" / "log", time.clock());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "a" / "b" / "log"));
  log.WriteLog("Conex\xE3o");
  EXPECT_EQ(ReadFile(folder / "a" / "b" / "log" / "server-log-31.log"),
            "2024-03-31 07:04:09 : Conex\xE3o\n");
}

TEST(ServerLog, WriteFailureReachesTheCaller) {
  TempFolder folder;
  WriteFile(folder / "file", "not a folder");
  ManualClock time;
  ServerLog log(folder / "file" / "log", time.clock());
  EXPECT_THROW(log.WriteLog("servidor desativado."), std::runtime_error);
}

}  // namespace
}  // namespace mts
