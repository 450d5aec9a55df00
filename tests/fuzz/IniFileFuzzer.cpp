// The INI reader takes any file a factory may have beside the server.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "server/IniFile.h"

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
  return 0;
}
