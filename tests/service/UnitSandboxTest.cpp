// The server inside the confinement of its unit. systemd cannot start the unit
// on a machine without a running systemd (a build container, say), so
// run-in-unit-sandbox rebuilds the unit's file-system view: everything
// read-only but the log and state folders (and the database folder, as the
// README's drop-in allows for a database file), a private /tmp where the
// embedded engine keeps its locks, an unprivileged user that cannot gain
// privileges. The system call filter and the address families are not
// rebuilt here.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ServiceTestSupport.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

namespace mts::test {
namespace {

const std::string kSandbox = std::string(MTS_SOURCE_DIR) + "/tests/service/run-in-unit-sandbox";

void GiveTo(const std::filesystem::path& folder, const std::string& user,
            const std::filesystem::path& output) {
  ASSERT_EQ(runProgram({"/bin/chown", "-R", user + ":", folder.string()}, {}, output), 0)
      << readFile(output);
}

TEST(UnitSandbox, TheDemoIsServedWithEverythingElseReadOnly) {
  if (::geteuid() != 0) GTEST_SKIP() << "the sandbox is built as root";
  TestDatabase database(DemoFactoryScript());
  ServerUnderTest::Options options;
  options.database = database.path().string();
  TempDir scratch("sandbox");
  const std::filesystem::path output = scratch / "output.txt";
  if (runProgram({kSandbox, "nobody", "--", "/bin/true"}, {}, output) != 0) {
    GTEST_SKIP() << "no mount namespace here: " << readFile(output);
  }
  // The view really is read-only: a folder of the user's own outside the
  // writable ones refuses a new file.
  const std::filesystem::path own =
      std::filesystem::path(TEST_BINARY_DIR) / ("sandbox-" + std::to_string(::getpid()));
  std::filesystem::create_directories(own);
  GiveTo(own, "nobody", output);
  EXPECT_NE(runProgram({kSandbox, "nobody", "--", "/usr/bin/touch", (own / "probe").string()}, {},
                       output),
            0);
  EXPECT_NE(readFile(output).find("Read-only file system"), std::string::npos) << readFile(output);
  std::filesystem::remove_all(own);

  options.launcher = [&](const std::filesystem::path& folder) {
    return std::vector<std::string>{kSandbox, "nobody", database.folder().string(), folder.string(),
                                    "--"};
  };
  ServerUnderTest server(options);
  GiveTo(database.folder(), "nobody", output);
  GiveTo(server.folder(), "nobody", output);
  server.Start();

  // A badge and a card, as in the demo's walkthrough: read and written in the
  // database, logged in the log folder, reported on the status page.
  const std::filesystem::path terminal = scratch / "terminal.txt";
  auto posting = Mtterm("127.0.0.2", server.terminalPort(),
                        "1004{enter}{wait-for:FICHA:}00010100010000{enter}"
                        "{wait-for:ATUALIZADA}{wait:20000}",
                        terminal);
  std::string status;
  EXPECT_TRUE(WaitFor([&] {
    status = StatusJson(server.statusPort());
    return Field(TerminalJson(status, "127.0.0.2"), "lastResult") == "\"FICHA ATUALIZADA\"";
  })) << status
      << readFile(terminal) << server.Output();
  EXPECT_NE(server.Log().find("FICHA ATUALIZADA"), std::string::npos) << server.Log();
  EXPECT_EQ(server.Stop(), 0) << server.Output();
}

}  // namespace
}  // namespace mts::test
