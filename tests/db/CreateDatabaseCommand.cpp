#include "CreateDatabaseCommand.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace mts::schematest {

std::filesystem::path createDatabaseCommand() {
  return std::filesystem::path(MTS_DB_DIR) / "create-database";
}

CommandResult runCommand(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments) {
  mts::test::TempDir work("command");
  std::vector<std::string> argv{program.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const auto outputFile = work / "output.txt";
  CommandResult result;
  result.exitStatus = mts::test::runProgram(argv, {}, outputFile);
  result.output = mts::test::readFile(outputFile);
  return result;
}

}  // namespace mts::schematest
