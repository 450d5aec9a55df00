#include "dataaccess/datasets/DatasetText.h"

namespace mts::dataset_text {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace mts::dataset_text
