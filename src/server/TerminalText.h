#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mts {

// Removes leading and trailing blanks and control characters (bytes 00 to 20)
// from a Windows-1252 text. Bytes from 80 up are characters and stay.
std::string TrimBlanksAndControls(std::string_view text);

// The first maxLength characters (bytes) of the text.
std::string FirstChars(std::string_view text, std::size_t maxLength);

}  // namespace mts
