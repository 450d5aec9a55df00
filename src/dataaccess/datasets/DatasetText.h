#pragma once

#include <string>
#include <string_view>
#include <vector>

// Line lists and replacements of the query templates and the client datasets
// (Windows-1252 text; see routines/Windows1252Text.h for trimming and case).
namespace mts::dataset_text {

// Lines joined the way a line list gives its text: every line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

// The reverse of joinLines: breaks at CR LF, LF or a lone CR; a line break at the
// very end does not start another (empty) line. Empty text gives no lines.
std::vector<std::string> splitLines(std::string_view text);

// Every occurrence of `from` replaced, left to right, without rescanning the
// replacement. An empty `from` leaves the text unchanged.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);
std::string replaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to);

}  // namespace mts::dataset_text
