#include "support/SchemaDatabase.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "support/ContentHash.h"
#include "support/TempDir.h"

#ifndef MTS_ISQL
#define MTS_ISQL "isql-fb"
#endif
#ifndef MTS_TEST_CACHE_DIR
#define MTS_TEST_CACHE_DIR "/tmp/mts-test-cache"
#endif

namespace mts::test {
namespace {

// Bumped when the way a template is built changes, so old templates go unused.
constexpr const char* kTemplateFormat = "schema-template-1";

}  // namespace

std::string sqlStringLiteral(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

void buildDatabaseFromSchema(const std::filesystem::path& database,
                             const std::filesystem::path& schema, const Environment& environment) {
  if (!std::filesystem::exists(schema)) {
    throw std::runtime_error("schema script not found: " + schema.string());
  }
  TempDir work("isql");
  // isql reads the script from a file: on standard input it drops every byte
  // above 127.
  writeFile(work / "create.sql",
            "SET SQL DIALECT 3;\n"
            "CREATE DATABASE " +
                sqlStringLiteral(database.string()) +
                " USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;\n"
                "INPUT " +
                sqlStringLiteral(std::filesystem::absolute(schema).string()) +
                ";\n"
                "COMMIT;\n");
  const auto output = work / "isql.out";
  const int exitCode =
      runProgram({MTS_ISQL, "-q", "-b", "-ch", "WIN1252", "-i", (work / "create.sql").string()},
                 environment, output);
  if (exitCode != 0) {
    throw std::runtime_error("isql failed (exit " + std::to_string(exitCode) + ") on " +
                             schema.string() + ":\n" + readFile(output));
  }
}

std::filesystem::path templateDatabase(const std::filesystem::path& schema) {
  if (!std::filesystem::exists(schema)) {
    throw std::runtime_error("schema script not found: " + schema.string());
  }
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx",
                static_cast<unsigned long long>(fnv1a(readFile(schema), fnv1a(kTemplateFormat))));
  const std::filesystem::path cache = MTS_TEST_CACHE_DIR;
  std::filesystem::create_directories(cache);
  const auto target = cache / (schema.stem().string() + "-" + hash + ".fdb");
  if (std::filesystem::exists(target)) return target;

  // Built under a name of this process's own and renamed into place at once:
  // a process racing on the same schema builds its own and renames over it.
  const auto building =
      cache / (target.filename().string() + ".building-" + std::to_string(::getpid()));
  std::error_code ignored;
  std::filesystem::remove(building, ignored);
  try {
    buildDatabaseFromSchema(building, schema);
  } catch (...) {
    std::filesystem::remove(building, ignored);
    throw;
  }
  std::filesystem::rename(building, target);
  return target;
}

}  // namespace mts::test
