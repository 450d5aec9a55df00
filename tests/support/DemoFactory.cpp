#include "support/DemoFactory.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

#include "support/ChildProcess.h"
#include "support/ContentHash.h"
#include "support/SchemaDatabase.h"

#ifndef MTS_DB_DIR
#error "MTS_DB_DIR must name the folder of the database scripts"
#endif
#ifndef MTS_TEST_CACHE_DIR
#define MTS_TEST_CACHE_DIR "/tmp/mts-test-cache"
#endif

namespace mts::test {
namespace {

// Bumped when the way the template is built changes.
constexpr const char* kTemplateFormat = "demo-factory-1";

}  // namespace

std::filesystem::path demoFactoryTemplate() {
  const std::filesystem::path folder = MTS_DB_DIR;
  const auto schema = folder / "schema.sql";
  const auto demo = folder / "demo.sql";
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx",
                static_cast<unsigned long long>(
                    fnv1a(readFile(demo), fnv1a(readFile(schema), fnv1a(kTemplateFormat)))));
  const std::filesystem::path cache = MTS_TEST_CACHE_DIR;
  std::filesystem::create_directories(cache);
  const auto target = cache / (std::string("demo-factory-") + hash + ".fdb");
  if (std::filesystem::exists(target)) return target;

  // One script that reads both, so the database is made in one isql run.
  TempDir work("demo");
  writeFile(work / "demo-factory.sql", "INPUT " + sqlStringLiteral(schema.string()) +
                                           ";\nCOMMIT;\nINPUT " + sqlStringLiteral(demo.string()) +
                                           ";\nCOMMIT;\n");
  // Built under a name of this process's own and renamed into place at once.
  const auto building =
      cache / (target.filename().string() + ".building-" + std::to_string(::getpid()));
  std::error_code ignored;
  std::filesystem::remove(building, ignored);
  try {
    buildDatabaseFromSchema(building, work / "demo-factory.sql");
  } catch (...) {
    std::filesystem::remove(building, ignored);
    throw;
  }
  std::filesystem::rename(building, target);
  return target;
}

DemoFactoryDatabase::DemoFactoryDatabase() : folder_("demo"), path_(folder_.path() / "demo.fdb") {
  std::filesystem::copy_file(demoFactoryTemplate(), path_);
}

db::ConnectionSettings DemoFactoryDatabase::settings() const {
  db::ConnectionSettings settings;
  settings.database = path_.string();
  return settings;
}

}  // namespace mts::test
