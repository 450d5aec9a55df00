#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "dataaccess/Connection.h"

namespace mts::schematest {

// A temporary folder removed (with its contents) by the destructor.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

enum class DatabaseContent { Schema, DemoFactory };

// A factory database of its own, in a fresh temporary folder that is removed with
// the object. It is a copy of the template that the test fixture
// "schema_template_databases" made with db/create-database, or, when that
// template is missing or older than the files it comes from, made afresh with
// db/create-database. Throws std::runtime_error (with the command's output) when
// the database cannot be made.
class ScratchDatabase {
 public:
  explicit ScratchDatabase(DatabaseContent content);
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Embedded engine, SYSDBA, WIN1252.
  mts::db::ConnectionSettings settings() const;

 private:
  ScratchFolder folder_;
  std::filesystem::path path_;
};

struct CommandResult {
  int exitStatus = -1;
  std::string output;  // standard output and standard error together
};

// Runs a program with arguments (no shell interpretation of them) and waits for it.
CommandResult runCommand(const std::vector<std::string>& arguments);

// The db/create-database of this source tree.
std::filesystem::path createDatabaseCommand();

}  // namespace mts::schematest
