// The unit file and the install command, checked without installing anything.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace mts::test {
namespace {

const std::filesystem::path kSource = MTS_SOURCE_DIR;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

TEST(ServiceUnit, SystemdFindsNothingWrongWithIt) {
  if (!std::filesystem::exists("/usr/bin/systemd-analyze")) GTEST_SKIP() << "no systemd-analyze";
  TempDir folder("unit");
  // The unit runs the installed binary; here it runs the one just built, so
  // the check of ExecStart has something to find.
  const std::string unit = readFile(kSource / "deploy/mtserver.service");
  ASSERT_NE(unit.find("ExecStart=/usr/local/bin/mtserver "), std::string::npos);
  writeFile(folder / "mtserver.service", Replaced(unit, "/usr/local/bin/mtserver", MTSERVER_PATH));

  const std::filesystem::path output = folder / "verify.txt";
  const int status = runProgram(
      {"/usr/bin/systemd-analyze", "verify", (folder / "mtserver.service").string()}, {}, output);
  // verify exits 0 on settings it ignores: its complaints are the real verdict.
  EXPECT_EQ(status, 0);
  EXPECT_EQ(readFile(output), "");
}

TEST(InstallService, StagesTheFilesAndNeverOverwritesTheSettings) {
  TempDir stage("install");
  const std::filesystem::path output = stage / "output.txt";
  const std::vector<std::string> install{(kSource / "scripts/install-service").string(), "--binary",
                                         MTSERVER_PATH, "--root", stage.path().string()};
  ASSERT_EQ(runProgram(install, {}, output), 0) << readFile(output);

  struct Placed {
    const char* path;
    mode_t mode;
  };
  for (const Placed& placed :
       {Placed{"usr/local/bin/mtserver", 0755}, Placed{"etc/systemd/system/mtserver.service", 0644},
        Placed{"etc/mtserver/mtserver.ini", 0640}}) {
    SCOPED_TRACE(placed.path);
    struct stat info {};
    ASSERT_EQ(::stat((stage / placed.path).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, placed.mode);
  }
  EXPECT_EQ(readFile(stage / "etc/systemd/system/mtserver.service"),
            readFile(kSource / "deploy/mtserver.service"));
  EXPECT_EQ(readFile(stage / "etc/mtserver/mtserver.ini"),
            readFile(kSource / "deploy/mtserver.ini"));

  // A second install (an upgrade) keeps the factory's own settings.
  writeFile(stage / "etc/mtserver/mtserver.ini", "[BDADOS-CONFIG]\nBDADOS=fabrica:/dados.fdb\n");
  ASSERT_EQ(runProgram(install, {}, output), 0) << readFile(output);
  EXPECT_EQ(readFile(stage / "etc/mtserver/mtserver.ini"),
            "[BDADOS-CONFIG]\nBDADOS=fabrica:/dados.fdb\n");
}

TEST(InstallService, RefusesSomethingThatIsNotAProgram) {
  TempDir stage("install");
  const std::filesystem::path output = stage / "output.txt";
  EXPECT_NE(runProgram({(kSource / "scripts/install-service").string(), "--binary",
                        (stage / "missing").string(), "--root", stage.path().string()},
                       {}, output),
            0);
  EXPECT_FALSE(std::filesystem::exists(stage / "usr/local/bin/mtserver"));
}

}  // namespace
}  // namespace mts::test
