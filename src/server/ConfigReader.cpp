#include "server/ConfigReader.h"

#include <cctype>

#include "routines/Windows1252Text.h"

namespace mts {
namespace {

constexpr std::string_view kMissing = "\x01missing\x01";

// Letters and digits only, in upper case: "SERVER_CONFIG", "server config"
// and "SERVER-CONFIG" all come out as "SERVERCONFIG".
std::string Skeleton(std::string_view name) {
  std::string skeleton;
  for (char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c))) skeleton.push_back(text::UpperCaseLetter(c));
  }
  return skeleton;
}

std::string IgnoredLineProblem(IniFile::IgnoredLine::Why why) {
  switch (why) {
    case IniFile::IgnoredLine::Why::BeforeAnySection:
      return "line before any [section]";
    case IniFile::IgnoredLine::Why::NotKeyEqualsValue:
      return "not a KEY=value line";
    case IniFile::IgnoredLine::Why::RepeatedKey:
      return "key repeated in its section";
    case IniFile::IgnoredLine::Why::RepeatedSection:
      return "section repeated";
  }
  return "";
}

std::string IgnoredLineUse(IniFile::IgnoredLine::Why why) {
  switch (why) {
    case IniFile::IgnoredLine::Why::RepeatedKey:
      return "ignored, its first line counts";
    case IniFile::IgnoredLine::Why::RepeatedSection:
      return "ignored with all its lines, its first appearance counts";
    default:
      return "ignored";
  }
}

}  // namespace

std::string ConfigReader::text(std::string_view section, std::string_view key,
                               std::string_view defaultValue) {
  remember(section, key);
  return ini_.readString(section, key, defaultValue);
}

int ConfigReader::integer(std::string_view section, std::string_view key, int defaultValue,
                          std::string_view used) {
  remember(section, key);
  const std::string value = ini_.readString(section, key, kMissing);
  if (value == kMissing) return defaultValue;
  if (const auto number = parseIniInteger(value)) return *number;
  std::string replacement = std::to_string(defaultValue) + " is used";
  if (!used.empty()) replacement += " (" + std::string(used) + ")";
  note({ConfigProblem::Severity::Warning, std::string(section), std::string(key), 0, true, value,
        "not a whole number", replacement});
  return defaultValue;
}

std::vector<std::string> ConfigReader::sectionValues(std::string_view section) {
  remember(section, "");
  return ini_.readSectionValues(section);
}

bool ConfigReader::has(std::string_view section, std::string_view key) const {
  return ini_.readString(section, key, kMissing) != kMissing;
}

std::vector<ConfigProblem> ConfigReader::unreadParts() const {
  std::vector<ConfigProblem> parts;
  for (const IniFile::IgnoredLine& line : ini_.ignoredLines()) {
    ConfigProblem part{ConfigProblem::Severity::Warning,
                       line.section,
                       "",
                       line.number,
                       true,
                       line.text,
                       IgnoredLineProblem(line.why),
                       IgnoredLineUse(line.why)};
    // A key's value is never repeated back: it may be a password (CHAVE).
    const std::size_t equals = line.text.find('=');
    if (line.why != IniFile::IgnoredLine::Why::RepeatedSection && equals != std::string::npos) {
      part.key = text::TrimWhitespace(std::string_view(line.text).substr(0, equals));
      part.hasValue = false;
      part.valueRead.clear();
    }
    parts.push_back(std::move(part));
  }
  for (const std::string& section : ini_.sectionNames()) {
    if (!sectionKnown(section)) {
      std::string used = "ignored with all its keys";
      for (const KnownKey& known : known_) {
        if (Skeleton(known.section) == Skeleton(section)) {
          used += "; did you mean [" + known.section + "]?";
          break;
        }
      }
      parts.push_back(
          {ConfigProblem::Severity::Warning, section, "", 0, false, "", "unknown section", used});
      continue;
    }
    for (const std::string& key : ini_.keysOf(section)) {
      if (keyKnown(section, key)) continue;
      std::string used = "ignored";
      for (const KnownKey& known : known_) {
        if (known.key.empty() || Skeleton(known.key) != Skeleton(key)) continue;
        used += text::EqualsIgnoringCase(known.section, section)
                    ? "; did you mean " + known.key + "?"
                    : "; " + known.key + " belongs in [" + known.section + "]";
        break;
      }
      parts.push_back(
          {ConfigProblem::Severity::Warning, section, key, 0, false, "", "unknown key", used});
    }
  }
  return parts;
}

void ConfigReader::remember(std::string_view section, std::string_view key) {
  if (!keyKnown(section, key) || key.empty()) {
    known_.push_back({std::string(section), std::string(key)});
  }
}

bool ConfigReader::sectionKnown(std::string_view section) const {
  for (const KnownKey& known : known_) {
    if (text::EqualsIgnoringCase(known.section, section)) return true;
  }
  return false;
}

bool ConfigReader::keyKnown(std::string_view section, std::string_view key) const {
  for (const KnownKey& known : known_) {
    if (!text::EqualsIgnoringCase(known.section, section)) continue;
    if (known.key.empty() || text::EqualsIgnoringCase(known.key, key)) return true;
  }
  return false;
}

}  // namespace mts
