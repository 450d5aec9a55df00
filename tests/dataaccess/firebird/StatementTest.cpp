#include <gtest/gtest.h>

#include "DataAccessTest.h"
#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

class StatementTest : public DataAccessTest {
 protected:
  // How many statements with this text the attachment holds prepared, as the
  // database lists them.
  static std::int64_t preparedCopies(std::string_view sql) {
    return queryOne(
               "select count(*) as N from MON$STATEMENTS "
               "where MON$ATTACHMENT_ID = CURRENT_CONNECTION and MON$SQL_TEXT = :T",
               {{"T", std::string(sql)}})
        .bigint("N");
  }
};

std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const DatabaseError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST_F(StatementTest, OneNameUsedTwiceTakesTheSameValueInBothPlaces) {
  insert("SAMPLE", {{"ID", 1}, {"INT_VAL", 5}, {"SMALL_VAL", 5}});
  insert("SAMPLE", {{"ID", 2}, {"INT_VAL", 5}, {"SMALL_VAL", 6}});

  const ResultSet rows =
      query("select ID from SAMPLE where INT_VAL = :VALOR and SMALL_VAL = :valor", {{"Valor", 5}});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.front().integer("ID"), 1);
}

TEST_F(StatementTest, MissingParameterFailsAndLeavesTheConnectionUsable) {
  EXPECT_EQ(messageOf([&] {
              execute("insert into SAMPLE (ID, INT_VAL) values (:ID, :INT_VAL)", {{"ID", 1}});
            }),
            "No value for parameter 'INT_VAL'");
  EXPECT_EQ(count("SAMPLE"), 0);
  EXPECT_FALSE(connection().inTransaction());
  insert("SAMPLE", {{"ID", 1}});
  EXPECT_EQ(count("SAMPLE"), 1);
}

TEST_F(StatementTest, DatabaseMessageReachesTheCaller) {
  insert("SAMPLE", {{"ID", 1}});
  const std::string duplicate = messageOf([&] { insert("SAMPLE", {{"ID", 1}}); });
  EXPECT_NE(duplicate.find("violation of PRIMARY or UNIQUE KEY constraint \"PK_SAMPLE\" on table "
                           "\"SAMPLE\""),
            std::string::npos)
      << duplicate;

  const std::string unknown = messageOf([&] { query("select * from NO_SUCH_TABLE"); });
  EXPECT_NE(unknown.find("Table unknown"), std::string::npos) << unknown;
  EXPECT_NE(unknown.find("NO_SUCH_TABLE"), std::string::npos) << unknown;

  EXPECT_NE(
      messageOf([&] { connection().prepare("selec 1 from rdb$database"); }).find("Token unknown"),
      std::string::npos);
}

TEST_F(StatementTest, ExecuteCountsTheRowsItChanged) {
  insert("SAMPLE", {{"ID", 1}, {"INT_VAL", 1}});
  insert("SAMPLE", {{"ID", 2}, {"INT_VAL", 1}});
  insert("SAMPLE", {{"ID", 3}, {"INT_VAL", 2}});
  EXPECT_EQ(execute("update SAMPLE set TEXT_VAL = 'x' where INT_VAL = :V", {{"V", 1}}), 2);
  EXPECT_EQ(execute("delete from SAMPLE where INT_VAL = :V", {{"V", 9}}), 0);
}

TEST_F(StatementTest, GeneratorGivesANewBigintEachCall) {
  const Row first = queryOne("select gen_id(ID_SAMPLE, 1) from rdb$database");
  const Row second = queryOne("select gen_id(ID_SAMPLE, 1) from rdb$database");
  ASSERT_TRUE(std::holds_alternative<std::int64_t>(first.value("GEN_ID")));
  EXPECT_EQ(second.integer("GEN_ID"), first.integer("GEN_ID") + 1);
}

TEST_F(StatementTest, ProcedureWithInputsOnlyRuns) {
  const Timestamp when{2024, 3, 5, 7, 4, 9, 0};
  execute("EXECUTE PROCEDURE GRAVALOG(:CHAVE, :ARQ, :CAMPO, :USUARIO, :DATA, :VRANT, :VRATU)",
          {{"CHAVE", "123;1"},
           {"ARQ", "ITENSPV"},
           {"CAMPO", "SIT_IT"},
           {"USUARIO", "FUNC:007"},
           {"DATA", when},
           {"VRANT", "P"},
           {"VRATU", "L"}});

  const Row row = queryOne("select * from CHANGE_LOG");
  EXPECT_EQ(row.text("CHAVE"), "123;1");
  EXPECT_EQ(row.text("USUARIO"), "FUNC:007");
  EXPECT_EQ(row.timestamp("DATA"), when);
  EXPECT_EQ(row.text("VRATU"), "L");
}

TEST_F(StatementTest, ServerClockReadsAsATimestamp) {
  const Row row = queryOne("select cast('now' as TIMESTAMP) as DATA_HORA\nfrom CONFIG");
  const Timestamp now = row.timestamp("data_hora");
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
}

TEST_F(StatementTest, EmptyResultStillNamesItsColumns) {
  const ResultSet rows = query("select ID, TEXT_VAL as NOME from SAMPLE");
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(rows.columns(), (std::vector<std::string>{"ID", "NOME"}));
}

TEST_F(StatementTest, EachTextIsPreparedOncePerAttachment) {
  for (int id = 1; id <= 3; ++id) insert("SAMPLE", {{"ID", id}});
  EXPECT_EQ(preparedCopies("insert into SAMPLE (ID) values (?)"), 1);
}

TEST_F(StatementTest, TextsWithLiteralsDoNotPileUpPreparedStatements) {
  for (int id = 1; id <= 400; ++id) {
    query("select ID from SAMPLE where ID = " + std::to_string(id));
  }
  const std::int64_t held = queryOne(
                                "select count(*) as N from MON$STATEMENTS "
                                "where MON$ATTACHMENT_ID = CURRENT_CONNECTION")
                                .bigint("N");
  EXPECT_LT(held, 300);
  query("select ID from SAMPLE where ID = 400");  // still usable after the old ones went
}

}  // namespace
}  // namespace mts::db
