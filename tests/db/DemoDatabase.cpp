#include "DemoDatabase.h"

#include <stdexcept>
#include <string>
#include <system_error>

#include "CreateDatabaseCommand.h"

namespace mts::schematest {
namespace fs = std::filesystem;

namespace {

// The template is current when it is at least as new as everything it is made from.
bool isCurrent(const fs::path& madeFile) {
  std::error_code error;
  const auto made = fs::last_write_time(madeFile, error);
  if (error) return false;
  for (const char* source : {"schema.sql", "demo.sql", "create-database"}) {
    if (fs::last_write_time(fs::path(MTS_DB_DIR) / source) > made) return false;
  }
  return true;
}

}  // namespace

DemoDatabase::DemoDatabase() : folder_("demo"), path_(folder_ / "demo.fdb") {
  const fs::path demoTemplate = MTS_DEMO_TEMPLATE;
  if (isCurrent(demoTemplate)) {
    fs::copy_file(demoTemplate, path_);
    return;
  }
  const CommandResult made = runCommand(createDatabaseCommand(), {"--demo", path_.string()});
  if (made.exitStatus != 0) {
    throw std::runtime_error("db/create-database --demo failed (" +
                             std::to_string(made.exitStatus) + "):\n" + made.output);
  }
}

mts::db::ConnectionSettings DemoDatabase::settings() const {
  mts::db::ConnectionSettings settings;
  settings.database = path_.string();
  return settings;
}

}  // namespace mts::schematest
