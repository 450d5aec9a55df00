#pragma once

#include <filesystem>

#include "dataaccess/firebird/Connection.h"
#include "support/TempDir.h"

namespace mts::schematest {

// The demo factory (db/create-database --demo) in a temporary folder of its own,
// removed with the object. Making it takes seconds, so it is a copy of the
// template that the ctest fixture "schema_demo_template" makes once per run; a
// test process run by hand, without a current template, makes its own. Throws
// std::runtime_error with the command's output when the database cannot be made.
class DemoDatabase {
 public:
  DemoDatabase();

  const std::filesystem::path& path() const { return path_; }
  // Embedded engine, SYSDBA, WIN1252.
  mts::db::ConnectionSettings settings() const;

 private:
  mts::test::TempDir folder_;
  std::filesystem::path path_;
};

}  // namespace mts::schematest
