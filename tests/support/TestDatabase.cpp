#include "support/TestDatabase.h"

#include "support/SchemaDatabase.h"

#ifndef MTS_DB_DIR
#error "MTS_DB_DIR must name the folder of the database schema"
#endif

namespace mts::test {

TestDatabase::TestDatabase(const std::filesystem::path& schema)
    : folder_("db"), path_(folder_.path() / "test.fdb") {
  std::filesystem::copy_file(templateDatabase(schema), path_);
}

db::ConnectionSettings TestDatabase::settings() const {
  db::ConnectionSettings settings;
  settings.database = path_.string();
  return settings;
}

std::filesystem::path factorySchema() {
  return std::filesystem::path(MTS_DB_DIR) / "schema.sql";
}

}  // namespace mts::test
