#include "ScratchDatabase.h"

#include <sys/wait.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace mts::schematest {
namespace fs = std::filesystem;

namespace {

std::string shellQuoted(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

fs::path dbDir() {
  return fs::path(MTS_DB_DIR);
}

// A template is usable when it is at least as new as everything it is made from.
bool templateIsCurrent(const fs::path& templatePath) {
  std::error_code error;
  const auto made = fs::last_write_time(templatePath, error);
  if (error) return false;
  for (const char* source : {"schema.sql", "demo.sql", "create-database"}) {
    if (fs::last_write_time(dbDir() / source) > made) return false;
  }
  return true;
}

void makeWithCreateDatabase(DatabaseContent content, const fs::path& path) {
  std::vector<std::string> command{createDatabaseCommand().string()};
  if (content == DatabaseContent::DemoFactory) command.push_back("--demo");
  command.push_back(path.string());
  const CommandResult result = runCommand(command);
  if (result.exitStatus != 0) {
    throw std::runtime_error("db/create-database failed (" + std::to_string(result.exitStatus) +
                             "):\n" + result.output);
  }
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "mts-schema-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
  }
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;  // a folder left behind in /tmp is not worth failing a test for
  fs::remove_all(path_, ignored);
}

ScratchDatabase::ScratchDatabase(DatabaseContent content) : path_(folder_.path() / "factory.fdb") {
  const fs::path templatePath =
      fs::path(MTS_SCHEMA_TEMPLATES) /
      (content == DatabaseContent::DemoFactory ? "demo.fdb" : "schema.fdb");
  if (templateIsCurrent(templatePath)) {
    fs::copy_file(templatePath, path_);
  } else {
    makeWithCreateDatabase(content, path_);
  }
}

mts::db::ConnectionSettings ScratchDatabase::settings() const {
  mts::db::ConnectionSettings settings;
  settings.database = path_.string();
  return settings;
}

CommandResult runCommand(const std::vector<std::string>& arguments) {
  std::string commandLine;
  for (const auto& argument : arguments) commandLine += shellQuoted(argument) + " ";
  commandLine += "2>&1";
  FILE* pipe = popen(commandLine.c_str(), "r");
  if (pipe == nullptr) throw std::system_error(errno, std::generic_category(), "popen");
  CommandResult result;
  std::array<char, 4096> buffer{};
  while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
    result.output.append(buffer.data(), n);
  }
  const int status = pclose(pipe);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

fs::path createDatabaseCommand() {
  return dbDir() / "create-database";
}

}  // namespace mts::schematest
