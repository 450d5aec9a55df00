#include "production/validation/ValidationText.h"

#include <algorithm>
#include <cstdio>

namespace mts {

namespace {

bool isBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= ' ';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The item between double quotes that starts at `at`; `at` ends past the
// closing quote (or at the end when the quote is never closed).
std::string quotedItem(std::string_view text, std::size_t& at) {
  std::string item;
  ++at;
  while (at < text.size()) {
    if (text[at] == '"') {
      if (at + 1 < text.size() && text[at + 1] == '"') {
        item += '"';
        at += 2;
        continue;
      }
      ++at;
      break;
    }
    item += text[at++];
  }
  return item;
}

}  // namespace

std::string withEmployee(std::string message, const std::string& employeeName) {
  if (!employeeName.empty()) message += " Func: " + employeeName;
  return message;
}

bool sectorAcceptsKind(std::string_view sectorType, std::string_view kind) {
  return sectorType == "N" || (!sectorType.empty() && sectorType == kind);
}

std::vector<std::string> splitDelimitedSectors(std::string_view text) {
  std::vector<std::string> items;
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  while (at < text.size()) {
    if (text[at] == '"') {
      items.push_back(quotedItem(text, at));
    } else {
      const std::size_t start = at;
      while (at < text.size() && !isBlank(text[at]) && text[at] != ',') ++at;
      items.emplace_back(text.substr(start, at - start));
    }
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at < text.size() && text[at] == ',') {
      if (at + 1 == text.size()) items.emplace_back();
      do {
        ++at;
      } while (at < text.size() && isBlank(text[at]));
    }
  }
  return items;
}

std::string keepProductSectors(const std::string& raw,
                               const std::vector<std::string>& productSectors) {
  if (raw.empty() || productSectors.empty()) return raw;
  std::string kept;
  for (const std::string& item : splitDelimitedSectors(trimmed(raw))) {
    if (std::find(productSectors.begin(), productSectors.end(), item) == productSectors.end()) {
      continue;
    }
    if (!kept.empty()) kept += ',';
    kept += item;
  }
  return kept;
}

std::string takeFirstSector(std::string& list) {
  const std::size_t comma = list.find(',');
  if (comma == std::string::npos) {
    std::string first = std::move(list);
    list.clear();
    return first;
  }
  std::string first = list.substr(0, comma);
  list.erase(0, comma + 1);
  return first;
}

std::string formatDayMonthTime(const db::Timestamp& moment) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d", moment.day, moment.month, moment.hour,
                moment.minute);
  return text;
}

}  // namespace mts
