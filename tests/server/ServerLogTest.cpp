#include "server/ServerLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

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

TEST(ServerLog, FileNamedAfterTheStartDayAndKeptPastMidnight) {
  TempFolder folder;
  ManualClock time;
  ServerLog log(folder / "log", time.clock());
  EXPECT_EQ(log.fileName(), folder / "log" / "server-log-05.log");

  log.WriteLog("servidor desativado.");
  time.now = {2024, 3, 6, 0, 0, 1};
  log.WriteLog("Indice Terminal: 0 Msg: FICHA ATUALIZADA");

  EXPECT_EQ(ReadFile(log.fileName()),
            "2024-03-05 07:04:09 : servidor desativado.\n"
            "2024-03-06 00:00:01 : Indice Terminal: 0 Msg: FICHA ATUALIZADA\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "log" / "server-log-06.log"));
}

TEST(ServerLog, AppendsToTheFileOfAnEarlierMonth) {
  TempFolder folder;
  WriteFile(folder / "server-log-05.log", "2024-02-05 10:00:00 : servidor desativado.\n");
  ManualClock time;
  ServerLog log(folder.path(), time.clock());
  log.WriteLog("AtivarServer: servidor ativo");
  EXPECT_EQ(ReadFile(log.fileName()),
            "2024-02-05 10:00:00 : servidor desativado.\n"
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
