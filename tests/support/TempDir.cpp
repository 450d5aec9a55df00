#include "support/TempDir.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace mts::test {

TempDir::TempDir(const std::string& label) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / ("mts-" + label + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder " + pattern + ": " +
                             std::strerror(errno));
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;  // a folder left behind in /tmp is no reason to fail a test
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace mts::test
