#include "server/qt/ServerOptions.h"

#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace mts {
namespace {

// Matches "--name VALUE" and "--name=VALUE"; advances past what it used.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& index, std::string_view name,
               std::string& value) {
  const std::string& argument = arguments[index];
  if (argument == name) {
    if (index + 1 >= arguments.size()) {
      throw std::invalid_argument("option " + std::string(name) + " needs a value");
    }
    value = arguments[++index];
    return true;
  }
  if (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 &&
      argument[name.size()] == '=') {
    value = argument.substr(name.size() + 1);
    return true;
  }
  return false;
}

bool EnvironmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

std::filesystem::path DefaultIniFile(const std::filesystem::path& executable) {
  std::filesystem::path ini = executable;
  return ini.replace_extension(".ini");
}

std::filesystem::path DefaultLogFolder(const std::filesystem::path& executable) {
  return executable.parent_path() / "log";
}

ServerOptions ParseServerOptions(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& executable) {
  ServerOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string value;
    if (arguments[i] == "--headless") {
      options.headless = true;
    } else if (arguments[i] == "--help" || arguments[i] == "-h") {
      options.help = true;
    } else if (arguments[i] == "--check-config") {
      options.checkConfig = true;
    } else if (arguments[i] == "--version") {
      options.version = true;
    } else if (TakeValue(arguments, i, "--ini", value)) {
      if (value.empty()) throw std::invalid_argument("option --ini needs a file");
      options.iniFile = value;
    } else if (TakeValue(arguments, i, "--log-dir", value)) {
      if (value.empty()) throw std::invalid_argument("option --log-dir needs a folder");
      options.logFolder = value;
    } else {
      throw std::invalid_argument("unknown argument: " + arguments[i]);
    }
  }
  if (options.iniFile.empty()) options.iniFile = DefaultIniFile(executable);
  if (options.logFolder.empty()) options.logFolder = DefaultLogFolder(executable);
  return options;
}

std::string ServerUsage() {
  return "usage: mtserver [--headless] [--ini FILE] [--log-dir DIR]\n"
         "       mtserver --check-config [--ini FILE]\n"
         "       mtserver --version\n"
         "  --headless     run without window: received data and status on standard\n"
         "                 output, errors on standard error (also the default when\n"
         "                 there is no display)\n"
         "  --ini FILE     settings file (default: the executable's path with .ini)\n"
         "  --log-dir DIR  folder of the daily log file (default: log beside the\n"
         "                 executable)\n"
         "  --version      print the version (the commit it was built from) and stop\n"
         "  --check-config names every problem of the settings file and exits: 0 when\n"
         "                 there is none, 1 for warnings only, 78 when a server without\n"
         "                 window would refuse to start\n"
         "SIGINT and SIGTERM stop the server as closing its window does; SIGHUP\n"
         "reopens the log file. Without a window, settings it cannot serve with (no\n"
         "settings file, no database, a terminal port it cannot use) end it with\n"
         "status 78.\n";
}

bool DisplayAvailable() {
  return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY") ||
         EnvironmentSet("QT_QPA_PLATFORM");
}

}  // namespace mts
