#include "server/IniFile.h"

#include "routines/Windows1252Text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>

namespace mts {
namespace {

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

IniFile IniFile::fromText(std::string_view text) {
  constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
  if (text.substr(0, utf8Bom.size()) == utf8Bom) text.remove_prefix(utf8Bom.size());

  IniFile ini;
  Section* current = nullptr;
  std::string currentName;
  // A repeated section is parsed into a scratch section nobody reads, so
  // only its first appearance counts.
  Section repeated;
  int number = 0;
  for (std::string_view rawLine : text::SplitLines(text)) {
    ++number;
    std::string_view line = text::TrimWhitespace(rawLine);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    auto ignore = [&](IgnoredLine::Why why) {
      ini.ignored_.push_back(IgnoredLine{number, currentName, std::string(line), why});
    };
    if (line.front() == '[') {
      std::size_t close = line.find(']');
      std::string_view name = text::TrimWhitespace(
          line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      currentName = name;
      if (ini.findSection(name) != nullptr) {
        ignore(IgnoredLine::Why::RepeatedSection);
        repeated.entries.clear();
        current = &repeated;
      } else {
        ini.sections_.push_back(Section{std::string(name), {}});
        current = &ini.sections_.back();
      }
      continue;
    }
    if (current == nullptr) {
      ignore(IgnoredLine::Why::BeforeAnySection);
      continue;
    }
    std::size_t equals = line.find('=');
    std::string_view key =
        equals == std::string_view::npos ? "" : text::TrimWhitespace(line.substr(0, equals));
    if (key.empty()) {
      ignore(IgnoredLine::Why::NotKeyEqualsValue);
      continue;
    }
    if (findEntry(*current, key) != nullptr) {
      // Lines of a repeated section are already covered by its header's note.
      if (current != &repeated) ignore(IgnoredLine::Why::RepeatedKey);
      continue;
    }
    std::string_view value = unquote(text::TrimWhitespace(line.substr(equals + 1)));
    current->entries.push_back(Entry{std::string(key), std::string(value)});
  }
  return ini;
}

IniFile IniFile::fromFile(const std::filesystem::path& path) {
  IniFile ini;
  std::string ignored;
  tryFromFile(path, ini, ignored);
  return ini;
}

bool IniFile::tryFromFile(const std::filesystem::path& path, IniFile& ini, std::string& failure) {
  ini = IniFile();
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    failure = std::strerror(errno);
    return false;
  }
  std::string text;
  char buffer[8192];
  ssize_t count = 0;
  while ((count = ::read(descriptor, buffer, sizeof buffer)) != 0) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      failure = std::strerror(errno);
      ::close(descriptor);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(descriptor);
  ini = fromText(text);
  return true;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const Section* found = findSection(section);
  const Entry* entry = found == nullptr ? nullptr : findEntry(*found, key);
  return std::string(entry == nullptr ? defaultValue : std::string_view(entry->value));
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const Section* found = findSection(section);
  const Entry* entry = found == nullptr ? nullptr : findEntry(*found, key);
  if (entry == nullptr) return defaultValue;
  return parseIniInteger(entry->value).value_or(defaultValue);
}

std::vector<std::string> IniFile::readSectionValues(std::string_view section) const {
  std::vector<std::string> lines;
  if (const Section* found = findSection(section)) {
    for (const Entry& entry : found->entries) lines.push_back(entry.key + "=" + entry.value);
  }
  return lines;
}

std::vector<std::string> IniFile::sectionNames() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::string> IniFile::keysOf(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* found = findSection(section)) {
    for (const Entry& entry : found->entries) keys.push_back(entry.key);
  }
  return keys;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (text::EqualsIgnoringCase(section.name, name)) return &section;
  }
  return nullptr;
}

const IniFile::Entry* IniFile::findEntry(const Section& section, std::string_view key) {
  for (const Entry& entry : section.entries) {
    if (text::EqualsIgnoringCase(entry.key, key)) return &entry;
  }
  return nullptr;
}

std::optional<int> parseIniInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;

  long long magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  long long value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

}  // namespace mts
