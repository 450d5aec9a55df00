#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1252 bytes and Unicode (UTF-8) text: the console, the window, the
// status page and the command line of the terminal simulator all read the
// server's texts through these.
//
// Every byte 00 to FF stands for one character and comes back from it. The
// five bytes Windows-1252 leaves undefined (81, 8D, 8F, 90, 9D) stand for the
// C1 control characters of the same value, as common decoders read them, so
// no byte is lost on the way to UTF-8 and back.
namespace mts::text {

// The character a byte stands for.
char32_t Windows1252Character(unsigned char byte);

// Each byte as its character in UTF-8.
std::string Utf8FromWindows1252(std::string_view bytes);

// UTF-8 text as Windows-1252 bytes; nothing when the text is not valid UTF-8
// or holds a character Windows-1252 lacks.
std::optional<std::string> Windows1252FromUtf8(std::string_view utf8);

// The same for a text that must be kept whatever it holds (a message of the
// system or a library): `substitute` stands for each character Windows-1252
// lacks and for each byte of a malformed sequence.
std::string Windows1252FromUtf8Or(std::string_view utf8, char substitute);

// Length in bytes of the UTF-8 sequence that starts with `lead`; 0 when `lead`
// cannot start one (a continuation byte or an invalid lead byte).
int Utf8SequenceLength(unsigned char lead);

}  // namespace mts::text
