#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text helpers shared by the query templates and the client datasets. Text is
// Windows-1252 bytes; "ignoring case" folds the letters of that code page.
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

// Position of `needle` in `text` ignoring letter case, or npos.
std::size_t findIgnoringCase(std::string_view text, std::string_view needle);
bool equalIgnoringCase(std::string_view a, std::string_view b);
std::string upperCase(std::string_view text);

// Spaces and control characters (bytes up to 0x20) removed from both ends.
std::string trimmed(std::string_view text);

}  // namespace mts::dataset_text
