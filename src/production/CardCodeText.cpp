#include "production/CardCodeText.h"

#include "routines/Windows1252Text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace mts {

namespace {}  // namespace

std::string cutCodeField(std::string_view code, std::int32_t position, std::int32_t length) {
  const auto size = static_cast<std::int64_t>(code.size());
  if (size < static_cast<std::int64_t>(position) + length - 1) return {};
  if (length <= 0) return {};
  const std::int64_t start = std::max<std::int64_t>(position, 1) - 1;
  if (start >= size) return {};
  return std::string(
      code.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

std::string codeCharacters(std::string_view code, std::size_t first, std::size_t last) {
  if (first < 1 || last < first || first > code.size()) return {};
  return std::string(code.substr(first - 1, last - first + 1));
}

bool isBlankText(std::string_view text) {
  return text::TrimBlanksAndControls(text).empty();
}

std::string normaliseProgramme(std::string_view programme) {
  std::string result(programme);
  for (char& c : result) {
    if (c == ';') c = '/';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::string normaliseSubCard(std::string_view subCard) {
  if (subCard.empty() || subCard == "0" || subCard == "00" || subCard == "000" ||
      subCard == "0000") {
    return "0000";
  }
  if (subCard.size() < 4) return std::string(4 - subCard.size(), '0') + std::string(subCard);
  return std::string(subCard);
}

std::string cutCardCode(std::int32_t id) {
  const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(id));
  char digits[16];
  std::snprintf(digits, sizeof digits, "%010lld", static_cast<long long>(magnitude));
  return std::string(id < 0 ? "-" : "") + "28" + digits;
}

bool sectorListContains(std::string_view list, std::string_view sector) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = list.find_first_of(",\r\n", start);
    const std::size_t stop = end == std::string_view::npos ? list.size() : end;
    const std::string_view item = text::TrimBlanksAndControls(list.substr(start, stop - start));
    if (!item.empty() && item == sector) return true;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace mts
