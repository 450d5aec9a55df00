#pragma once

#include <string>
#include <vector>

// Line lists of the client datasets' SQL texts.
namespace mts::dataset_text {

// Lines joined the way a line list gives its text: every line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace mts::dataset_text
