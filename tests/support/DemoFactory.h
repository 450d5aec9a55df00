#pragma once

#include <filesystem>

#include "dataaccess/Connection.h"
#include "support/TempDir.h"

namespace mts::test {

// The demo factory database (db/schema.sql, then db/demo.sql), built once per
// version of the two scripts and kept in the build tree's test cache. Copy it;
// never open it. Safe when several test processes ask at once.
std::filesystem::path demoFactoryTemplate();

// A fresh copy of the demo factory in a temporary folder of its own, removed
// with the object. Throws std::runtime_error (with isql's output) when the
// template cannot be built.
class DemoFactoryDatabase {
 public:
  DemoFactoryDatabase();

  // "<folder>/demo.fdb".
  const std::filesystem::path& path() const { return path_; }
  // Embedded-engine settings for the file: SYSDBA, dialect 3, WIN1252.
  db::ConnectionSettings settings() const;

 private:
  TempDir folder_;
  std::filesystem::path path_;
};

}  // namespace mts::test
