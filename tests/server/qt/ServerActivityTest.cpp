// What the server core tells the status model: connects, keys, database
// errors told apart from other errors, and listener restarts.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "server/ServerCore.h"
#include "server/qt/HandlerGuard.h"
#include "support/RecordingActivity.h"
#include "support/ServerFakes.h"
#include "support/TestDatabase.h"

namespace mts {
namespace {

using test::FakeListener;
using test::ManualTimer;
using test::RecordingActivity;
using test::RecordingView;
using testing_support::TempFolder;
using testing_support::WriteFile;

class ServerActivityTest : public testing::Test {
 protected:
  ServerActivityTest()
      : core_({folder_ / "mtserver.ini", folder_ / "log"}, view_, listener_, timer_,
              [] { return LocalTime{2024, 3, 5, 7, 4, 9}; }) {
    core_.setActivity(&activity_);
  }

  void Start(const std::string& database) {
    WriteFile(folder_ / "mtserver.ini",
              "[SERVER-CONFIG]\nPORTA-IP=2001\n[BDADOS-CONFIG]\nBDADOS=" + database + "\n");
    core_.FormCreate();
    core_.FormShow();
    // The workers attach in the background and report what they found.
    EXPECT_TRUE(timer_.runPosted());
  }

  // An event handler that throws, run the way the socket edge runs handlers.
  void HandlerThrows(const std::function<void()>& raise) {
    RunGuarded([this](const std::string& message) { core_.HandleError(message); }, raise);
  }

  TempFolder folder_;
  RecordingView view_;
  FakeListener listener_;
  ManualTimer timer_;
  RecordingActivity activity_;
  ServerCore core_;
};

TEST_F(ServerActivityTest, ConnectsDisconnectsAndKeysAreReportedWithTheTerminalNumber) {
  test::TestDatabase database(test::factorySchema());
  Start(database.path().string());
  EXPECT_EQ(activity_.calls, std::vector<std::string>{"database reachable"});
  activity_.calls.clear();

  auto first = listener_.connect("10.0.0.1");
  core_.ClientConnect(first);
  auto second = listener_.connect("10.0.0.2");
  core_.ClientConnect(second);
  core_.ServerClientRead(second, "5");
  // A read of several keys reports its last; a line feed is no key.
  core_.ServerClientRead(second, "\b6\n");
  core_.ServerClientRead(second, "\n");
  listener_.disconnect(first);
  core_.ClientDisconnect(first);
  core_.ClientConnect(listener_.connect("10.0.0.1"));
  // A connection the registry never saw has no number to report.
  core_.ClientDisconnect(listener_.connect("10.0.0.7"));

  EXPECT_EQ(activity_.calls,
            (std::vector<std::string>{"connected 0 10.0.0.1", "connected 1 10.0.0.2", "key 1 5",
                                      "key 1 6", "disconnected 0", "connected 0 10.0.0.1"}));
}

TEST_F(ServerActivityTest, OnlyDatabaseErrorsCountAsSuchAndEveryRestartIsReported) {
  test::TestDatabase database(test::factorySchema());
  Start(database.path().string());
  struct Row {
    const char* name;
    std::function<void()> raise;
    std::vector<std::string> calls;
  };
  const std::vector<Row> rows{
      {"database error",
       [] { throw db::DatabaseError("deadlock", false); },
       {"database error deadlock (open)", "restarted deadlock (listening)"}},
      {"other error",
       [] { throw std::runtime_error("disk full"); },
       {"restarted disk full (listening)"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    activity_.calls.clear();
    // The database's connection is open since start-up: an SQL error leaves it so.
    HandlerThrows(row.raise);
    EXPECT_EQ(activity_.calls, row.calls);
  }
  // A socket error arrives without an exception behind it.
  activity_.calls.clear();
  core_.HandleError("Connection reset by peer");
  EXPECT_EQ(activity_.calls,
            std::vector<std::string>{"restarted Connection reset by peer (listening)"});
}

TEST_F(ServerActivityTest, UnreachableDatabaseAtStartUpIsReported) {
  Start("/nao/existe.fdb");
  ASSERT_EQ(activity_.calls.size(), 1u);
  EXPECT_EQ(activity_.calls[0].rfind("database error ", 0), 0u) << activity_.calls[0];
  EXPECT_NE(activity_.calls[0].find("/nao/existe.fdb"), std::string::npos);
  EXPECT_EQ(activity_.calls[0].substr(activity_.calls[0].size() - 9), " (closed)");
}

TEST_F(ServerActivityTest, ABadgeTheDatabaseCannotLookUpIsAnsweredOnItsOwnTerminal) {
  Start("/nao/existe.fdb");
  auto terminal = listener_.connect("10.0.0.1");
  core_.ClientConnect(terminal);
  auto other = listener_.connect("10.0.0.2");
  core_.ClientConnect(other);
  activity_.calls.clear();

  for (const char* key : {"1", "\r"}) {
    HandlerThrows([&] { core_.ServerClientRead(terminal, key); });
  }
  ASSERT_TRUE(timer_.runPosted());

  // The badge is refused on its own terminal and reported as a database
  // error; the listener stays up and the other terminal keeps its connection.
  ASSERT_EQ(activity_.calls.size(), 4u);
  EXPECT_EQ(activity_.calls[1], "key 0 \r");
  EXPECT_EQ(activity_.calls[2].rfind("database error ", 0), 0u) << activity_.calls[2];
  EXPECT_EQ(activity_.calls[3], "badge 0 refused FUNC. NAO VERIFICADO");
  EXPECT_EQ(listener_.closes, 0);
  EXPECT_TRUE(terminal->isOpen());
  EXPECT_TRUE(other->isOpen());
  EXPECT_NE(terminal->sent().find("FUNC. NAO VERIFICADO"), std::string::npos) << terminal->sent();
}

}  // namespace
}  // namespace mts
