// The INI reader takes any file a factory may have beside the server.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "routines/Windows1252Text.h"
#include "server/IniFile.h"
#include "server/ServerConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mts::fuzz::FuzzInput input(data, size);
  const std::string_view section = input.field();
  const std::string_view key = input.field();
  const std::string_view text = input.whole();

  const mts::IniFile ini = mts::IniFile::fromText(text);
  const std::string value = ini.readString(section, key, "default");
  ini.readInteger(section, key, 7);
  for (const std::string& line : ini.readSectionValues(section)) {
    // Every listed line is a key, "=", and its value.
    mts::fuzz::check(line.find('=') != std::string::npos);
  }
  for (const char* name : {"SERVER-CONFIG", "BDADOS-CONFIG", "IP_TERMINAL_LED", "CONFIG_LED"}) {
    ini.readSectionValues(name);
    ini.readInteger(name, "PORTA-IP", 1001);
  }
  mts::parseIniInteger(text);
  mts::parseIniInteger(value);

  // The settings check names what it finds in any file, and never repeats the
  // value of a CHAVE line: it may be the database password.
  std::vector<mts::ConfigProblem> problems;
  mts::ReadServerConfig(ini, &problems);
  for (const mts::ConfigProblem& problem : problems) {
    mts::DescribeConfigProblem("f.ini", problem);
    mts::fuzz::check(!mts::text::EqualsIgnoringCase(problem.key, "CHAVE") || !problem.hasValue);
  }
  return 0;
}
