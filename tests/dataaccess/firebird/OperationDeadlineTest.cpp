#include "dataaccess/firebird/OperationDeadline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "PrivateServerTest.h"
#include "support/DatabaseRows.h"

namespace mts::db {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test::countRows;

enum class Stall { RowHeldElsewhere, FrozenServer };

class DeadlineTest : public PrivateServerTest, public ::testing::WithParamInterface<Stall> {};

// Work that cannot finish (a row another attachment holds, a server frozen
// with SIGSTOP) fails as cancelled soon after its deadline, and none of it
// stays in the database.
TEST_P(DeadlineTest, LateWorkFailsAsCancelledSoonAfterTheDeadline) {
  const bool frozen = GetParam() == Stall::FrozenServer;
  Connection setup(settings());
  setup.execute("insert into SAMPLE (ID) values (1)");
  Connection holder(settings());
  holder.startTransaction();
  if (!frozen) holder.execute("update SAMPLE set TEXT_VAL = 'HELD' where ID = 1");
  Connection client(settings());
  OperationDeadline deadline(client, milliseconds(500));
  client.startTransaction();
  client.execute("insert into SAMPLE (ID) values (2)");
  if (frozen) server_.pause();

  const auto started = Clock::now();
  deadline.arm(milliseconds(300));
  const DatabaseError error =
      errorOf([&] { client.execute("update SAMPLE set TEXT_VAL = 'MINE' where ID = 1"); });
  const auto waited = Clock::now() - started;
  EXPECT_TRUE(deadline.disarm());

  EXPECT_TRUE(error.cancelled()) << error.what();
  EXPECT_FALSE(error.outcomeUnknown());
  EXPECT_GE(waited, milliseconds(300));
  // The deadline, the wait before an abort, and a loaded machine's slack.
  EXPECT_LT(waited, milliseconds(frozen ? 2300 : 1800));

  if (frozen) server_.resume();
  client.rollback();
  holder.rollback();
  EXPECT_EQ(countRows(setup, "SAMPLE", "ID = 2"), 0);
}

INSTANTIATE_TEST_SUITE_P(Stalls, DeadlineTest,
                         ::testing::Values(Stall::RowHeldElsewhere, Stall::FrozenServer),
                         [](const auto& info) {
                           return info.param == Stall::RowHeldElsewhere ? "RowHeldElsewhere"
                                                                        : "FrozenServer";
                         });

TEST_F(PrivateServerTest, WorkDoneInTimeIsNeverCancelledLater) {
  Connection client(settings());
  client.ping();
  OperationDeadline deadline(client, milliseconds(100));
  deadline.arm(milliseconds(1000));
  client.execute("insert into SAMPLE (ID) values (1)");
  EXPECT_FALSE(deadline.disarm());

  // Past the moment a deadline still armed would have raised and aborted.
  std::this_thread::sleep_for(milliseconds(1300));
  EXPECT_TRUE(client.isOpen());
  client.execute("insert into SAMPLE (ID) values (2)");
  EXPECT_EQ(countRows(client, "SAMPLE"), 2);
}

}  // namespace
}  // namespace mts::db
