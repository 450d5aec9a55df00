#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mts::termsim {

// Terminal bytes are Windows-1252; the console and the command line are UTF-8.

// Converts Windows-1252 bytes to UTF-8. The five byte values Windows-1252 leaves undefined
// (81, 8D, 8F, 90, 9D) and the control bytes below 20 become U+FFFD, so every input byte
// becomes exactly one visible character.
std::string cp1252ToUtf8(std::string_view bytes);

// Converts UTF-8 text to Windows-1252 bytes. Empty result when the text is not valid UTF-8
// or holds a character Windows-1252 cannot represent.
std::optional<std::string> utf8ToCp1252(std::string_view text);

// Length in bytes of the UTF-8 sequence that starts with `lead`; 0 when `lead` cannot
// start one (a continuation byte or an invalid lead byte).
int utf8SequenceLength(unsigned char lead);

}  // namespace mts::termsim
