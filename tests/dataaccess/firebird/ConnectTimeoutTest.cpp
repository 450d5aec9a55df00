#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "PrivateServerTest.h"
#include "dataaccess/firebird/BoundedAttach.h"
#include "support/DatabaseRows.h"
#include "support/SilentLink.h"

namespace mts::db {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

// Another attachment than `observer`'s own, as the server counts them.
std::int64_t otherAttachments(Connection& observer) {
  return test::queryOne(observer,
                        "select count(*) as N from MON$ATTACHMENTS "
                        "where MON$ATTACHMENT_ID <> current_connection and MON$SYSTEM_FLAG = 0")
      .bigint("N");
}

bool waitForAttachThreads() {
  return waitForAttachesInFlight(seconds(20));
}

struct SilentServerCase {
  const char* name;
  bool relaysTheFirstAnswer;  // the server answers the connect, then goes silent
  const char* form;           // the connection string, "%p" standing for the port
};

class ConnectTimeoutTest : public PrivateServerTest,
                           public ::testing::WithParamInterface<SilentServerCase> {
 protected:
  std::string throughLink(const test::SilentLink& link, const char* form) const {
    std::string text = form;
    text.replace(text.find("%p"), 2, std::to_string(link.port()));
    return text + database_.path().string();
  }
};

// A server that never answers, or that answers the connect and then hangs:
// either way the caller gets its thread back after the connect timeout, told
// that the database is out of reach.
TEST_P(ConnectTimeoutTest, AttachToASilentServerGivesUpAfterTheTimeout) {
  const SilentServerCase& silent = GetParam();
  auto link = silent.relaysTheFirstAnswer ? std::make_unique<test::SilentLink>(server_.port())
                                          : std::make_unique<test::SilentLink>();
  ConnectionSettings hung = settings();
  hung.database = throughLink(*link, silent.form);
  hung.connectTimeoutSeconds = 1;
  Connection connection(hung);

  const auto started = Clock::now();
  const DatabaseError error = errorOf([&] { connection.open(); });
  const auto waited = Clock::now() - started;

  EXPECT_TRUE(error.connectionLost()) << error.what();
  EXPECT_NE(std::string(error.what()).find("out of reach"), std::string::npos) << error.what();
  EXPECT_GE(waited, milliseconds(900));
  EXPECT_LT(waited, milliseconds(2500));
  EXPECT_FALSE(connection.isOpen());
  // The statement path attaches the same way.
  EXPECT_TRUE(errorOf([&] { test::countRows(connection, "SAMPLE"); }).connectionLost());
  link.reset();  // the link closes: the attach threads fail and end
  EXPECT_TRUE(waitForAttachThreads());
}

INSTANTIATE_TEST_SUITE_P(
    SilentServers, ConnectTimeoutTest,
    ::testing::Values(SilentServerCase{"NeverAnswers", false, "127.0.0.1/%p:"},
                      SilentServerCase{"NeverAnswersUrl", false, "inet4://127.0.0.1:%p/"},
                      SilentServerCase{"HangsAfterTheConnectAnswer", true, "127.0.0.1/%p:"}),
    [](const auto& info) { return std::string(info.param.name); });

// An attach given up that the server completes later must not stay attached
// in nobody's name.
TEST_F(PrivateServerTest, AttachCompletedAfterItsTimeoutIsDetached) {
  ASSERT_TRUE(waitForAttachThreads());
  test::SilentLink link(server_.port());
  ConnectionSettings stalled = settings();
  stalled.database = "127.0.0.1/" + std::to_string(link.port()) + ":" + database_.path().string();
  stalled.connectTimeoutSeconds = 1;
  Connection connection(stalled);
  EXPECT_TRUE(errorOf([&] { connection.open(); }).connectionLost());
  EXPECT_EQ(attachesInFlight(), 1u);

  link.release();
  ASSERT_TRUE(waitForAttachThreads());
  Connection observer(settings());
  EXPECT_EQ(otherAttachments(observer), 0);

  // The same settings attach once the server answers in time.
  connection.open();
  EXPECT_EQ(otherAttachments(observer), 1);
}

TEST_F(PrivateServerTest, CancelStopsAnAttachUnderWay) {
  test::SilentLink link;
  ConnectionSettings hung = settings();
  hung.database = "127.0.0.1/" + std::to_string(link.port()) + ":" + database_.path().string();
  hung.connectTimeoutSeconds = 30;
  Connection connection(hung);

  auto attempt =
      std::async(std::launch::async, [&] { return errorOf([&] { connection.open(); }); });
  std::this_thread::sleep_for(milliseconds(300));
  connection.cancelOperation();
  ASSERT_EQ(attempt.wait_for(milliseconds(1500)), std::future_status::ready);
  const DatabaseError error = attempt.get();
  EXPECT_TRUE(error.cancelled()) << error.what();
}

}  // namespace
}  // namespace mts::db
