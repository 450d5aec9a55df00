#include "server/IniFile.h"

#include "routines/Windows1252Text.h"

#include <charconv>
#include <fstream>
#include <iterator>
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
  // A repeated section is parsed into a scratch section nobody reads, so
  // only its first appearance counts.
  Section ignored;
  for (std::string_view rawLine : text::SplitLines(text)) {
    std::string_view line = text::TrimWhitespace(rawLine);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      std::size_t close = line.find(']');
      std::string_view name = text::TrimWhitespace(
          line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      if (ini.findSection(name) != nullptr) {
        ignored.entries.clear();
        current = &ignored;
      } else {
        ini.sections_.push_back(Section{std::string(name), {}});
        current = &ini.sections_.back();
      }
      continue;
    }
    if (current == nullptr) continue;
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view key = text::TrimWhitespace(line.substr(0, equals));
    if (key.empty() || findEntry(*current, key) != nullptr) continue;
    std::string_view value = unquote(text::TrimWhitespace(line.substr(equals + 1)));
    current->entries.push_back(Entry{std::string(key), std::string(value)});
  }
  return ini;
}

IniFile IniFile::fromFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return IniFile();
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return fromText(text);
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
