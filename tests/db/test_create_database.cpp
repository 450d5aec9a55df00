// db/create-database: makes a WIN1252 database with page size 8192 from the
// scripts, never overwrites a file, and stops loudly at the first SQL error
// without leaving a half-made database behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CreateDatabaseCommand.h"
#include "dataaccess/firebird/Connection.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace mts::schematest {
namespace {

namespace fs = std::filesystem;

using mts::test::readFile;
using mts::test::TempDir;
using mts::test::writeFile;

TEST(CreateDatabase, MakesAWin1252DatabaseWithPageSize8192) {
  TempDir folder("create");
  const fs::path path = folder.path() / "new.fdb";
  const CommandResult result = runCommand(createDatabaseCommand(), {path.string()});
  ASSERT_EQ(result.exitStatus, 0) << result.output;

  mts::db::ConnectionSettings settings;
  settings.database = path.string();
  mts::db::Connection connection(settings);
  EXPECT_EQ(connection.query("select MON$PAGE_SIZE as PAGE_SIZE from MON$DATABASE")
                .front()
                .integer("PAGE_SIZE"),
            8192);
  EXPECT_EQ(connection.query("select trim(RDB$CHARACTER_SET_NAME) as CHARSET from RDB$DATABASE")
                .front()
                .text("CHARSET"),
            "WIN1252");
  EXPECT_EQ(connection.query("select count(*) as N from PRODUCAO_SETOR").front().integer("N"), 0);
}

TEST(CreateDatabase, RefusesAPathThatExists) {
  TempDir folder("create");
  const fs::path path = folder.path() / "factory.fdb";
  writeFile(path, "the factory's data");

  const CommandResult result = runCommand(createDatabaseCommand(), {path.string()});

  EXPECT_NE(result.exitStatus, 0);
  EXPECT_NE(result.output.find("exists"), std::string::npos) << result.output;
  EXPECT_EQ(readFile(path), "the factory's data");
}

TEST(CreateDatabase, StopsAtTheFirstSqlErrorAndRemovesTheFile) {
  // A copy of the command beside the real schema and a demo script with an error.
  TempDir folder("create");
  const fs::path command = folder.path() / "create-database";
  fs::copy_file(createDatabaseCommand(), command);
  fs::copy_file(createDatabaseCommand().parent_path() / "schema.sql", folder.path() / "schema.sql");
  writeFile(folder.path() / "demo.sql",
            "INSERT INTO SETOR (COD_SE, NOME_SE) VALUES ('10', 'CORTE');\n"
            "INSERT INTO SETOR (COD_SE, NOME_SE) VALUES ('100', 'CODE TOO LONG');\n"
            "INSERT INTO SETOR (COD_SE, NOME_SE) VALUES ('20', 'PESPONTO');\n"
            "COMMIT;\n");
  const fs::path path = folder.path() / "broken.fdb";

  const CommandResult result = runCommand("/bin/bash", {command.string(), "--demo", path.string()});

  EXPECT_NE(result.exitStatus, 0);
  EXPECT_NE(result.output.find("string right truncation"), std::string::npos) << result.output;
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace mts::schematest
