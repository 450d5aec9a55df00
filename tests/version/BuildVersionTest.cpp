// The version of a build: worked out from the tree's commit at every build,
// and what mtserver and mtterm print with --version.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace mts::test {
namespace {

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

// Runs a program that must succeed; returns the first line it printed.
std::string Output(const std::vector<std::string>& argv, const std::filesystem::path& folder) {
  const std::filesystem::path output = folder / "output.txt";
  std::filesystem::remove(output);
  const int status = runProgram(argv, {}, output);
  EXPECT_EQ(status, 0) << argv[0] << ": " << readFile(output);
  return FirstLine(readFile(output));
}

TEST(BuildVersion, BothProgramsPrintTheVersionOfTheirBuild) {
  TempDir folder("version");
  const std::string version = FirstLine(readFile(MTS_VERSION_FILE));
  EXPECT_EQ(version.rfind(MTS_BASE_VERSION, 0), 0u) << version;
  EXPECT_EQ(Output({MTSERVER_PATH, "--version"}, folder.path()), "mtserver " + version);
  EXPECT_EQ(Output({MTTERM_PATH, "--version"}, folder.path()), "mtterm " + version);
}

// A small git work tree and the version script run on it, as a build does.
class VersionOfATree : public ::testing::Test {
 protected:
  std::string git(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"/usr/bin/git",
                                  "-C",
                                  tree_.string(),
                                  "-c",
                                  "user.name=Build",
                                  "-c",
                                  "user.email=build@example.com"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return Output(argv, folder_.path());
  }
  void commit(const std::string& content) {
    writeFile(tree_ / "main.cpp", content);
    git({"add", "main.cpp"});
    git({"commit", "-q", "-m", "change"});
  }
  std::string versionNow() {
    Output({CMAKE_PROGRAM, "-DSOURCE_DIR=" + tree_.string(), "-DBASE_VERSION=2.3.4",
            "-DOUTPUT_DIR=" + generated_.string(), "-P", MTS_WRITE_VERSION_SCRIPT},
           folder_.path());
    return FirstLine(readFile(generated_ / "version.txt"));
  }
  std::string head() { return git({"rev-parse", "--short=10", "HEAD"}); }

  TempDir folder_{"version-tree"};
  std::filesystem::path tree_ = folder_ / "tree";
  std::filesystem::path generated_ = folder_ / "generated";
};

TEST_F(VersionOfATree, FollowsEveryCommitAndChangesInTheTree) {
  std::filesystem::create_directories(tree_);
  EXPECT_EQ(versionNow(), "2.3.4") << "outside a git work tree: the base version";

  git({"init", "-q"});
  commit("int main() {}\n");
  const std::string first = versionNow();
  EXPECT_EQ(first, "2.3.4+1.g" + head());
  EXPECT_NE(readFile(generated_ / "BuildVersionText.h").find('"' + first + '"'), std::string::npos);

  writeFile(tree_ / "main.cpp", "int main() { return 1; }\n");
  EXPECT_EQ(versionNow(), "2.3.4+1.g" + head() + ".dirty");
  writeFile(tree_ / "notes.txt", "an untracked file is not a change to the build\n");
  git({"checkout", "main.cpp"});
  EXPECT_EQ(versionNow(), "2.3.4+1.g" + head());

  commit("int main() { return 2; }\n");
  EXPECT_EQ(versionNow(), "2.3.4+2.g" + head());
}

TEST_F(VersionOfATree, AnUnchangedVersionLeavesTheFilesAlone) {
  std::filesystem::create_directories(tree_);
  git({"init", "-q"});
  commit("int main() {}\n");
  const std::string version = versionNow();
  // Set back in time: a rewrite, even of the same text, would move it forward
  // and recompile everything that includes the header.
  const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {"BuildVersionText.h", "version.txt"}) {
    std::filesystem::last_write_time(generated_ / name, past);
  }
  EXPECT_EQ(versionNow(), version);
  for (const char* name : {"BuildVersionText.h", "version.txt"}) {
    EXPECT_EQ(std::filesystem::last_write_time(generated_ / name), past) << name;
  }
}

}  // namespace
}  // namespace mts::test
