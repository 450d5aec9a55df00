#include "routines/Windows1252Unicode.h"

#include <array>

namespace mts::text {
namespace {

// The characters of the bytes 80 to 9F; everywhere else the byte is the code
// point. The undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kBlock80{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<unsigned char> ByteFor(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
    return static_cast<unsigned char>(character);
  for (std::size_t i = 0; i < kBlock80.size(); ++i) {
    if (kBlock80[i] == character) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t character) {
  if (character < 0x80) {
    out += static_cast<char>(character);
  } else if (character < 0x800) {
    out += static_cast<char>(0xC0 | (character >> 6));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (character >> 12));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  }
}

// The character of the UTF-8 sequence at `at`, moving `at` past it; nothing
// for a malformed sequence, and then `at` moves one byte only.
std::optional<char32_t> NextCharacter(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const auto length = static_cast<std::size_t>(Utf8SequenceLength(lead));
  if (length == 0 || at + length > text.size()) {
    ++at;
    return std::nullopt;
  }
  char32_t character = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return std::nullopt;
    }
    character = (character << 6) | (next & 0x3F);
  }
  // Overlong forms: two-byte ones start with C0 or C1 and are refused as lead
  // bytes; three- and four-byte ones decode below their own range.
  const bool overlong = (length == 3 && character < 0x800) || (length == 4 && character < 0x10000);
  if (overlong) {
    ++at;
    return std::nullopt;
  }
  at += length;
  return character;
}

// Converts `utf8`; false at the first sequence or character Windows-1252
// cannot hold when there is no substitute.
bool Convert(std::string_view utf8, std::optional<char> substitute, std::string& out) {
  std::size_t at = 0;
  while (at < utf8.size()) {
    const auto character = NextCharacter(utf8, at);
    const auto byte = character ? ByteFor(*character) : std::nullopt;
    if (byte) {
      out += static_cast<char>(*byte);
    } else if (substitute) {
      out += *substitute;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

char32_t Windows1252Character(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kBlock80[byte - 0x80];
  return byte;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char byte : bytes) AppendUtf8(out, Windows1252Character(static_cast<unsigned char>(byte)));
  return out;
}

std::optional<std::string> Windows1252FromUtf8(std::string_view utf8) {
  std::string out;
  if (!Convert(utf8, std::nullopt, out)) return std::nullopt;
  return out;
}

std::string Windows1252FromUtf8Or(std::string_view utf8, char substitute) {
  std::string out;
  Convert(utf8, substitute, out);
  return out;
}

int Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace mts::text
