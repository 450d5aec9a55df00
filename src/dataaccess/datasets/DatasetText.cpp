#include "dataaccess/datasets/DatasetText.h"

#include "routines/Windows1252Text.h"

namespace mts::dataset_text {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> splitLines(std::string_view text) {
  const std::vector<std::string_view> views = mts::text::SplitLines(text);
  return {views.begin(), views.end()};
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

std::string replaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  std::size_t start = 0;
  for (;;) {
    std::size_t at = mts::text::FindIgnoringCase(text.substr(start), from);
    if (at == std::string_view::npos) break;
    result.append(text, start, at);
    result.append(to);
    start += at + from.size();
  }
  result.append(text, start);
  return result;
}

}  // namespace mts::dataset_text
