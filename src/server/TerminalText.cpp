#include "server/TerminalText.h"

namespace mts {

namespace {

// Compared as unsigned: Windows-1252 letters from 80 up are not controls.
bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

std::string TrimBlanksAndControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string FirstChars(std::string_view text, std::size_t maxLength) {
  return std::string(text.substr(0, maxLength));
}

}  // namespace mts
