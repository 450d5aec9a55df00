#pragma once

#include <string>
#include <string_view>

namespace mts {

// Turns Windows-1252 text into something a terminal can show: the accented
// letters of Portuguese lose their accents (\xE1 -> a, \xC7 -> C, ...), the
// ordinal and degree signs become o and a, the section sign becomes "Par."
// and the acute accent sign standing alone is removed. Every other byte,
// including accented letters Portuguese does not use, passes unchanged.
// Upper-casing, where wanted, is left to the caller.
std::string FoldAccents(std::string_view text);

}  // namespace mts
