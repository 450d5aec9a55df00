#include <gtest/gtest.h>

#include <functional>

#include "DataAccessTest.h"
#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

// Lone SELECTs share one read-only transaction that the connection keeps
// open. They must answer as if each ran in a fresh transaction of its own.
class LoneSelectTest : public DataAccessTest {
 protected:
  std::int64_t transactionOfLoneSelect() {
    return queryOne("select CURRENT_TRANSACTION T from RDB$DATABASE").bigint("T");
  }
  Connection other_{database().settings()};
};

TEST_F(LoneSelectTest, SeesEveryCommitMadeBeforeIt) {
  struct Step {
    const char* change;
    std::function<void()> make;
    std::int64_t rows;
    std::int64_t total;
  };
  const std::vector<Step> steps = {
      {"another connection inserts",
       [&] { other_.execute("insert into SAMPLE (ID, INT_VAL) values (1, 5)"); }, 1, 5},
      {"this connection inserts alone",
       [&] { execute("insert into SAMPLE (ID, INT_VAL) values (2, 1)"); }, 2, 6},
      {"another connection updates",
       [&] { other_.execute("update SAMPLE set INT_VAL = 10 where ID = 1"); }, 2, 11},
      {"another connection deletes in a transaction",
       [&] {
         Transaction work(other_);
         other_.execute("delete from SAMPLE where ID = 2");
         work.commit();
       },
       1, 10},
      {"this connection inserts in a transaction",
       [&] {
         Transaction work(connection());
         execute("insert into SAMPLE (ID, INT_VAL) values (3, 4)");
         work.commit();
       },
       2, 14},
      {"another connection rolls back",
       [&] {
         Transaction work(other_);
         other_.execute("delete from SAMPLE");
       },
       2, 14},
  };
  EXPECT_EQ(count("SAMPLE"), 0);  // the shared transaction is open from here on
  for (const Step& step : steps) {
    SCOPED_TRACE(step.change);
    step.make();
    const Row seen = queryOne("select count(*) N, coalesce(sum(INT_VAL), 0) S from SAMPLE");
    EXPECT_EQ(seen.bigint("N"), step.rows);
    EXPECT_EQ(seen.bigint("S"), step.total);
  }
}

// The shared transaction stays open between cards: it must be one that lets
// the database collect the garbage of everything committed meanwhile.
TEST_F(LoneSelectTest, SharedTransactionHoldsBackNoGarbageCollection) {
  const std::int64_t shared = transactionOfLoneSelect();
  for (int id = 1; id <= 3; ++id)
    other_.execute("insert into SAMPLE (ID) values (:ID)", {{"ID", id}});
  EXPECT_EQ(transactionOfLoneSelect(), shared);

  const std::int64_t oldestActive =
      test::queryOne(other_, "select MON$OLDEST_ACTIVE A from MON$DATABASE").bigint("A");
  EXPECT_GT(oldestActive, shared);
}

// Reading never waits on a row another transaction holds: it reads the last
// committed version, as it did in a transaction of its own.
TEST_F(LoneSelectTest, ReadsTheCommittedVersionOfARowLockedElsewhere) {
  insert("SAMPLE", {{"ID", 1}, {"INT_VAL", 1}});
  ConnectionSettings impatient = database().settings();
  impatient.lockTimeoutSeconds = 1;
  Connection reader(impatient);
  EXPECT_EQ(test::queryOne(reader, "select INT_VAL from SAMPLE").integer("INT_VAL"), 1);

  Transaction holder(other_);
  other_.execute("update SAMPLE set INT_VAL = 2 where ID = 1");
  EXPECT_EQ(test::queryOne(reader, "select INT_VAL from SAMPLE").integer("INT_VAL"), 1);
  holder.commit();
  EXPECT_EQ(test::queryOne(reader, "select INT_VAL from SAMPLE").integer("INT_VAL"), 2);
}

// A SELECT may write: a generator step, or a selectable procedure. Its work
// must be committed as a lone statement's always was.
TEST_F(LoneSelectTest, SelectThatWritesIsCommittedOnItsOwn) {
  EXPECT_EQ(count("SAMPLE"), 0);

  EXPECT_EQ(queryOne("select ADDED from ADD_SAMPLE(:ID)", {{"ID", 7}}).integer("ADDED"), 7);
  EXPECT_FALSE(connection().inTransaction());
  EXPECT_EQ(test::countRows(other_, "SAMPLE", "ID = 7"), 1);
  EXPECT_EQ(count("SAMPLE"), 1);

  const std::int64_t step = queryOne("select gen_id(ID_SAMPLE, 1) G from RDB$DATABASE").bigint("G");
  EXPECT_EQ(queryOne("select gen_id(ID_SAMPLE, 1) G from RDB$DATABASE").bigint("G"), step + 1);
  EXPECT_EQ(test::queryOne(other_, "select gen_id(ID_SAMPLE, 0) G from RDB$DATABASE").bigint("G"),
            step + 1);
}

// The monitoring tables are a snapshot per transaction: a lone statement
// reading them sees the present, not the moment the shared transaction began.
TEST_F(LoneSelectTest, MonitoringTablesShowThePresent) {
  const auto attachments = [&] { return count("MON$ATTACHMENTS"); };
  const std::int64_t before = attachments();
  {
    Connection extra(database().settings());
    extra.open();
    EXPECT_EQ(attachments(), before + 1);
  }
  EXPECT_EQ(attachments(), before);
}

}  // namespace
}  // namespace mts::db
