// The unit file and the install command, checked without installing anything
// (scripts/test-package installs the package itself).
#include <gtest/gtest.h>

#include <unistd.h>

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

// The unit as installed, with ExecStart running the mtserver just built, so
// systemd's checks of ExecStart have something to find.
std::filesystem::path UnitForThisBuild(const TempDir& folder) {
  const std::string unit = readFile(kSource / "deploy/mtserver.service");
  EXPECT_NE(unit.find("ExecStart=/usr/bin/mtserver "), std::string::npos);
  writeFile(folder / "mtserver.service", Replaced(unit, "/usr/bin/mtserver", MTSERVER_PATH));
  return folder / "mtserver.service";
}

TEST(ServiceUnit, SystemdFindsNothingWrongWithIt) {
  if (!std::filesystem::exists("/usr/bin/systemd-analyze")) GTEST_SKIP() << "no systemd-analyze";
  TempDir folder("unit");
  const std::filesystem::path output = folder / "verify.txt";
  const int status = runProgram(
      {"/usr/bin/systemd-analyze", "verify", UnitForThisBuild(folder).string()}, {}, output);
  // verify exits 0 on settings it ignores: its complaints are the real verdict.
  EXPECT_EQ(status, 0);
  EXPECT_EQ(readFile(output), "");
}

// systemd's own rating of the sandbox (0 tight to 10 wide open), read from the
// unit file alone: it needs no running systemd.
TEST(ServiceUnit, SystemdRatesItsExposureBelowFive) {
  if (!std::filesystem::exists("/usr/bin/systemd-analyze")) GTEST_SKIP() << "no systemd-analyze";
  TempDir folder("unit");
  const std::filesystem::path output = folder / "security.txt";
  const int status = runProgram({"/usr/bin/systemd-analyze", "security", "--offline=true",
                                 "--no-pager", UnitForThisBuild(folder).string()},
                                {{"SYSTEMD_COLORS", "0"}}, output);
  const std::string report = readFile(output);
  ASSERT_EQ(status, 0) << report;
  const std::string overall = "Overall exposure level for mtserver.service: ";
  const std::size_t at = report.find(overall);
  ASSERT_NE(at, std::string::npos) << report;
  const double exposure = std::stod(report.substr(at + overall.size()));
  EXPECT_LT(exposure, 5.0) << report;
}

TEST(InstallService, RefusesAFileThatIsNotTheServerPackage) {
  if (::geteuid() != 0) GTEST_SKIP() << "install-service runs as root only";
  TempDir folder("install");
  const std::filesystem::path output = folder / "output.txt";
  for (const std::string& file : {std::string(MTSERVER_PATH), (folder / "missing.deb").string()}) {
    SCOPED_TRACE(file);
    std::filesystem::remove(output);
    EXPECT_NE(
        runProgram({(kSource / "scripts/install-service").string(), "--deb", file}, {}, output), 0);
    EXPECT_NE(readFile(output).find("is not an mtserver package"), std::string::npos)
        << readFile(output);
  }
}

}  // namespace
}  // namespace mts::test
