#include "dataaccess/DatasetText.h"

#include <algorithm>

namespace mts::dataset_text {

namespace {

unsigned char upperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  // Accented small letters sit 0x20 above their capitals, except the division
  // sign at 0xF7; three more pairs live in the 0x80 block, and y-diaeresis apart.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 0x10);
  if (c == 0xFF) return 0x9F;
  return c;
}

bool sameIgnoringCase(char a, char b) {
  return upperByte(static_cast<unsigned char>(a)) == upperByte(static_cast<unsigned char>(b));
}

}  // namespace

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  std::size_t start = 0;
  for (std::size_t at = text.find(from); at != std::string_view::npos;
       at = text.find(from, start)) {
    result.append(text, start, at - start);
    result.append(to);
    start = at + from.size();
  }
  result.append(text, start);
  return result;
}

std::size_t findIgnoringCase(std::string_view text, std::string_view needle) {
  auto it = std::search(text.begin(), text.end(), needle.begin(), needle.end(), sameIgnoringCase);
  if (it == text.end() && !needle.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(it - text.begin());
}

std::string replaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  std::size_t start = 0;
  for (;;) {
    std::size_t at = findIgnoringCase(text.substr(start), from);
    if (at == std::string_view::npos) break;
    result.append(text, start, at);
    result.append(to);
    start += at + from.size();
  }
  result.append(text, start);
  return result;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameIgnoringCase);
}

std::string upperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(upperByte(static_cast<unsigned char>(c)));
  return result;
}

std::string trimmed(std::string_view text) {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t first = 0;
  while (first < text.size() && isBlank(text[first])) ++first;
  std::size_t last = text.size();
  while (last > first && isBlank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

}  // namespace mts::dataset_text
