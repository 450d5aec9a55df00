#pragma once

#include <filesystem>

#include "dataaccess/firebird/Connection.h"
#include "support/TempDir.h"

namespace mts::test {

// A fresh database made from a schema script: a copy of the cached template
// (see templateDatabase) in a temporary folder of its own, removed with it.
class TestDatabase {
 public:
  explicit TestDatabase(const std::filesystem::path& schema);

  // The database file, "<folder>/test.fdb".
  const std::filesystem::path& path() const { return path_; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  // Embedded-engine settings for the file: SYSDBA, dialect 3, WIN1252.
  db::ConnectionSettings settings() const;

 private:
  TempDir folder_;
  std::filesystem::path path_;
};

// db/schema.sql of the source tree: the factory database the server works on.
std::filesystem::path factorySchema();

}  // namespace mts::test
