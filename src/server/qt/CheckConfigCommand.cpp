#include "server/qt/CheckConfigCommand.h"

#include <sysexits.h>

#include <string>

#include "routines/Windows1252Unicode.h"
#include "server/ServerConfig.h"

namespace mts {

int CheckConfigCommand(const std::filesystem::path& iniFile, std::FILE* output) {
  const ServerConfigReading reading = ReadServerConfigFile(iniFile);
  std::string text;
  for (const ConfigProblem& problem : reading.problems) {
    text += text::Utf8FromWindows1252(DescribeConfigProblem(iniFile, problem)) + "\n";
  }
  const std::size_t count = reading.problems.size();
  if (count == 0) {
    text += iniFile.string() + ": no problems\n";
  } else {
    text += iniFile.string() + ": " + std::to_string(count) +
            (count == 1 ? " problem" : " problems") + "\n";
  }
  std::fputs(text.c_str(), output);
  std::fflush(output);
  if (HasConfigError(reading.problems)) return EX_CONFIG;
  return count == 0 ? 0 : 1;
}

}  // namespace mts
