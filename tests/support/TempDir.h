#pragma once

#include <filesystem>
#include <string>

namespace mts::test {

// A new, empty folder under the system's temporary folder, named
// "mts-<label>-XXXXXX" (unique across processes); removed with its contents by
// the destructor.
class TempDir {
 public:
  explicit TempDir(const std::string& label);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace mts::test
