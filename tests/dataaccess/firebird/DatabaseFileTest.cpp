#include <gtest/gtest.h>

#include "DataAccessTest.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "support/ChildProcess.h"
#include "support/DatabaseRows.h"
#include "support/SchemaDatabase.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

namespace mts::db {
namespace {

ConnectionSettings embedded(const std::filesystem::path& file) {
  ConnectionSettings settings;
  settings.database = file.string();
  return settings;
}

std::string trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

TEST(CreateDatabaseTest, MakesAnEmptyWin1252DatabaseWithPageSize8192) {
  test::TempDir folder("create");
  const auto file = folder / "new.fdb";
  createDatabase(embedded(file));

  Connection connection(embedded(file));
  EXPECT_EQ(
      test::queryOne(connection, "select MON$PAGE_SIZE from MON$DATABASE").integer("MON$PAGE_SIZE"),
      8192);
  EXPECT_EQ(trimmed(test::queryOne(connection, "select RDB$CHARACTER_SET_NAME from RDB$DATABASE")
                        .text("RDB$CHARACTER_SET_NAME")),
            "WIN1252");
  EXPECT_EQ(test::countRows(connection, "RDB$RELATIONS", "coalesce(RDB$SYSTEM_FLAG, 0) = 0"), 0);
  connection.close();

  EXPECT_THROW(createDatabase(embedded(file)), DatabaseError);
}

TEST(OpenDatabaseTest, MissingFileFailsOnFirstUseWithTheDatabaseMessage) {
  test::TempDir folder("missing");
  Connection connection(embedded(folder / "absent.fdb"));
  EXPECT_FALSE(connection.isOpen());
  try {
    connection.query("select 1 from rdb$database");
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("absent.fdb"), std::string::npos) << error.what();
    EXPECT_FALSE(error.connectionLost());
  }
  EXPECT_FALSE(connection.isOpen());
}

TEST(OpenDatabaseTest, SettingsChangeClosesAndTheNextUseOpensTheNewDatabase) {
  test::TestDatabase first(DataAccessTest::testSchema());
  test::TestDatabase second(DataAccessTest::testSchema());
  Connection connection(first.settings());
  test::insertRow(connection, "SAMPLE", {{"ID", 1}});
  EXPECT_TRUE(connection.isOpen());

  connection.setSettings(second.settings());
  EXPECT_FALSE(connection.isOpen());
  EXPECT_EQ(test::countRows(connection, "SAMPLE"), 0);
}

// The template built from a schema script is what the fixture copies.
TEST(SchemaDatabaseTest, ScriptBytesAbove127ArriveIntact) {
  test::TempDir folder("schema");
  const auto schema = folder / "bytes.sql";
  test::writeFile(schema,
                  "CREATE TABLE WORDS (WORD VARCHAR(20));\n"
                  "INSERT INTO WORDS VALUES ('CONCEI\xC7\xC3O \x80');\n");
  test::TestDatabase database(schema);
  Connection connection(database.settings());
  EXPECT_EQ(test::queryOne(connection, "select WORD from WORDS").text("WORD"),
            "CONCEI\xC7\xC3O \x80");
}

TEST(SchemaDatabaseTest, ChangedScriptGetsANewTemplate) {
  test::TempDir folder("schema");
  const auto schema = folder / "changing.sql";
  test::writeFile(schema, "CREATE TABLE A (X INTEGER);\n");
  const auto first = test::templateDatabase(schema);
  EXPECT_EQ(test::templateDatabase(schema), first);

  test::writeFile(schema, "CREATE TABLE B (X INTEGER);\n");
  const auto second = test::templateDatabase(schema);
  EXPECT_NE(second, first);
  test::TestDatabase database(schema);
  Connection connection(database.settings());
  EXPECT_EQ(test::countRows(connection, "B"), 0);
}

TEST(SchemaDatabaseTest, FailingScriptReportsIsqlsMessage) {
  test::TempDir folder("schema");
  const auto schema = folder / "broken.sql";
  test::writeFile(schema, "CREATE TABLE A (X INTEGER);\nCREATE TABLE A (Y INTEGER);\n");
  try {
    test::buildDatabaseFromSchema(folder / "broken.fdb", schema);
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("A"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("exists"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace mts::db
