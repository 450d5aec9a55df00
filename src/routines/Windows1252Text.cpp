#include "routines/Windows1252Text.h"

#include <algorithm>

namespace mts::text {

namespace {

template <typename IsBlank>
std::string_view TrimWith(std::string_view text, IsBlank isBlank) {
  while (!text.empty() && isBlank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && isBlank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool SameIgnoringCase(char a, char b) {
  return UpperCaseLetter(a) == UpperCaseLetter(b);
}

}  // namespace

std::string_view TrimBlanksAndControls(std::string_view text) {
  return TrimWith(text, [](unsigned char c) { return c <= 0x20; });
}

std::string_view TrimWhitespace(std::string_view text) {
  return TrimWith(text,
                  [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

char UpperCaseLetter(char letter) {
  const auto c = static_cast<unsigned char>(letter);
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 0x20);
  // Accented small letters sit 0x20 above their capitals, except the division
  // sign at 0xF7; three more pairs live in the 0x80 block, and y-diaeresis apart.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 0x20);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<char>(c - 0x10);
  if (c == 0xFF) return static_cast<char>(0x9F);
  return letter;
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperCaseLetter(c);
  return result;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameIgnoringCase);
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view needle) {
  auto it = std::search(text.begin(), text.end(), needle.begin(), needle.end(), SameIgnoringCase);
  if (it == text.end() && !needle.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(it - text.begin());
}

std::string FirstChars(std::string_view text, std::size_t maxLength) {
  return std::string(text.substr(0, maxLength));
}

}  // namespace mts::text
