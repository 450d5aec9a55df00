#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mts {

// A read-only INI file, read the way the Windows profile functions read one:
// - section and key names match in any letter case;
// - a key is the text before the first "=" of its line, the value everything
//   after it (so a value may itself contain "="); blanks around both are
//   dropped, and one pair of matching quotes (' or ") around a value is removed;
// - lines end in CRLF or LF; blank lines, lines starting with ";" or "#", and
//   lines before the first section are ignored;
// - when a section or a key appears twice, the first one counts.
// Texts are kept as the file's bytes (Windows-1252), never converted.
class IniFile {
 public:
  // A line that gives no value: before any section, without "=", with an
  // empty key, or a repeated key or section whose first appearance counts.
  struct IgnoredLine {
    int number = 0;       // 1 for the file's first line
    std::string section;  // the section it is in, as written; empty before any
    std::string text;     // the line without the blanks around it
    enum class Why { BeforeAnySection, NotKeyEqualsValue, RepeatedKey, RepeatedSection } why;
  };

  // An empty file: every read yields its default.
  IniFile() = default;

  // Parses INI text.
  static IniFile fromText(std::string_view text);
  // Reads the file; a file that does not exist or cannot be read reads as an
  // empty file, as it does for the Windows functions.
  static IniFile fromFile(const std::filesystem::path& path);
  // Reads the file into ini; false, with the system's reason in failure (its
  // errno text), when it does not exist or cannot be read, ini then empty.
  static bool tryFromFile(const std::filesystem::path& path, IniFile& ini, std::string& failure);

  // The key's value, or the default when the section or the key is absent.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The key's value as a 32-bit integer (decimal, or hexadecimal after "$" or
  // "0x"); the default when the key is absent or its value is not a number.
  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // The section's keys as "key=value" lines in file order, each key once with
  // its value as readString gives it.
  std::vector<std::string> readSectionValues(std::string_view section) const;

  // The sections, each once as first written, in file order.
  std::vector<std::string> sectionNames() const;
  // The section's keys, each once as first written, in file order.
  std::vector<std::string> keysOf(std::string_view section) const;
  const std::vector<IgnoredLine>& ignoredLines() const { return ignored_; }

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  const Section* findSection(std::string_view name) const;
  static const Entry* findEntry(const Section& section, std::string_view key);

  std::vector<Section> sections_;
  std::vector<IgnoredLine> ignored_;
};

// Converts a whole text to a 32-bit integer: optional sign, then decimal
// digits, or hexadecimal digits after "$", "0x" or "0X". Nothing else may
// surround the number.
std::optional<int> parseIniInteger(std::string_view text);

}  // namespace mts
