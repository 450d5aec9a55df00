#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mts::schematest {

// db/create-database of this source tree.
std::filesystem::path createDatabaseCommand();

struct CommandResult {
  int exitStatus = -1;
  std::string output;  // standard output and standard error together
};

// Runs `program` with `arguments` to its end (no shell in between).
CommandResult runCommand(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments);

}  // namespace mts::schematest
