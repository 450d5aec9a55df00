#pragma once

#include <string>
#include <string_view>

namespace mts::termsim {

// A terminal's Windows-1252 bytes as UTF-8 for the console. A control
// character (bytes below 20, 7F, and the five bytes Windows-1252 leaves
// undefined) would be obeyed or hidden by the console, so it shows as U+FFFD:
// every byte stays one visible character and the frame keeps its columns.
std::string visibleUtf8(std::string_view bytes);

}  // namespace mts::termsim
