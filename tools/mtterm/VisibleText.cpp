#include "mtterm/VisibleText.h"

#include "routines/Windows1252Unicode.h"

namespace mts::termsim {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isControl(char32_t character) {
  return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}

}  // namespace

std::string visibleUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (isControl(text::Windows1252Character(static_cast<unsigned char>(bytes[i])))) {
      out += kReplacement;
    } else {
      out += text::Utf8FromWindows1252(bytes.substr(i, 1));
    }
  }
  return out;
}

}  // namespace mts::termsim
