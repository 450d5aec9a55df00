#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mts {

// The command line of mtserver.
struct ServerOptions {
  bool headless = false;            // --headless: no window, console output
  bool help = false;                // --help
  bool checkConfig = false;         // --check-config: check the INI file and exit
  bool version = false;             // --version
  std::filesystem::path iniFile;    // --ini FILE
  std::filesystem::path logFolder;  // --log-dir DIR
};

// The executable's path with its extension replaced by ".ini" (added when it
// has none): /opt/mts/mtserver reads /opt/mts/mtserver.ini.
std::filesystem::path DefaultIniFile(const std::filesystem::path& executable);
// The "log" folder beside the executable.
std::filesystem::path DefaultLogFolder(const std::filesystem::path& executable);

// Parses the arguments that follow the program name ("--ini FILE" or
// "--ini=FILE", likewise --log-dir). Paths not given take their defaults from
// the executable's path. Throws std::invalid_argument for an unknown option
// or a missing value.
ServerOptions ParseServerOptions(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& executable);

std::string ServerUsage();

// True when a window can be shown: DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM
// is set (and not empty).
bool DisplayAvailable();

}  // namespace mts
