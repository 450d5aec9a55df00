#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/ConfigProblem.h"
#include "server/IniFile.h"

namespace mts {

// Reads settings from an INI file exactly as IniFile reads them, and notes
// every value it cannot use as written together with what it uses instead.
// It also remembers every section and key it was asked for, so that what the
// file holds and nothing reads (a misspelt section, an unknown key, a line
// that is not key=value) can be named afterwards.
class ConfigReader {
 public:
  explicit ConfigReader(const IniFile& ini) : ini_(ini) {}

  // The key's text as written, or the default when absent.
  std::string text(std::string_view section, std::string_view key, std::string_view defaultValue);
  // The key's number; a value that is not a whole number gives the default
  // and a problem saying so ("used" names what the default means).
  int integer(std::string_view section, std::string_view key, int defaultValue,
              std::string_view used = "");
  // The values of every line of a section whose keys are free names.
  std::vector<std::string> sectionValues(std::string_view section);
  // True when the file has the key.
  bool has(std::string_view section, std::string_view key) const;

  // A problem found by the caller's own rule on a value already read.
  void note(ConfigProblem problem) { problems_.push_back(std::move(problem)); }

  // Everything noted so far.
  const std::vector<ConfigProblem>& problems() const { return problems_; }
  // Sections and keys in the file that nothing asked for, and ignored lines:
  // all warnings, with a likely intended name where one is close.
  std::vector<ConfigProblem> unreadParts() const;

 private:
  struct KnownKey {
    std::string section;
    std::string key;  // empty: any key of the section
  };

  void remember(std::string_view section, std::string_view key);
  bool sectionKnown(std::string_view section) const;
  bool keyKnown(std::string_view section, std::string_view key) const;

  const IniFile& ini_;
  std::vector<KnownKey> known_;
  std::vector<ConfigProblem> problems_;
};

}  // namespace mts
