#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Text helpers for Windows-1252 bytes, the text of terminals, the database,
// INI files and messages alike. Views returned point into the argument: keep
// the argument alive while the view is used.
namespace mts::text {

// Without the blanks and control characters (bytes 00 to 20) at either end.
// Bytes from 80 up are characters and stay.
std::string_view TrimBlanksAndControls(std::string_view text);

// Without spaces, tabs, CRs and LFs at either end; other control characters
// stay (an INI value or a number written by a person).
std::string_view TrimWhitespace(std::string_view text);

// The lines of a text, broken at CR LF, LF or a lone CR; a line break at the
// very end does not start another (empty) line. Empty text gives no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

// Letter case folded as Windows-1252 folds it: a-z and the accented letters
// (including the three pairs in the 80 block and y-diaeresis).
char UpperCaseLetter(char c);
std::string UpperCase(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// Position of `needle` in `text` ignoring letter case, or npos.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle);

// The first maxLength characters (bytes) of the text.
std::string FirstChars(std::string_view text, std::size_t maxLength);

}  // namespace mts::text
