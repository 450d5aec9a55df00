#include "routines/FoldAccents.h"

#include <algorithm>
#include <array>

namespace mts {

namespace {

struct Replacement {
  char from;
  std::string_view to;
};

// Each entry replaces every occurrence of its byte, in this order.
constexpr std::array<Replacement, 31> kReplacements{{
    {'\xB0', "o"},                    // degree sign
    {'\xE1', "a"},    {'\xC1', "A"},  // acute a
    {'\xE2', "a"},    {'\xC2', "A"},  // circumflex a
    {'\xE3', "a"},    {'\xC3', "A"},  // tilde a
    {'\xE0', "a"},    {'\xC0', "A"},  // grave a
    {'\xE9', "e"},    {'\xC9', "E"},  // acute e
    {'\xEA', "e"},    {'\xCA', "E"},  // circumflex e
    {'\xED', "i"},    {'\xCD', "I"},  // acute i
    {'\xF3', "o"},    {'\xD3', "O"},  // acute o
    {'\xF5', "o"},    {'\xD5', "O"},  // tilde o
    {'\xF4', "o"},    {'\xD4', "O"},  // circumflex o
    {'\xFA', "u"},    {'\xDA', "U"},  // acute u
    {'\xFC', "u"},    {'\xDC', "U"},  // diaeresis u
    {'\xE7', "c"},    {'\xC7', "C"},  // cedilla
    {'\xBA', "o"},    {'\xAA', "a"},  // ordinal indicators
    {'\xA7', "Par."},                 // section sign
    {'\xB4', ""},                     // acute accent sign alone
}};

const Replacement* FindReplacement(char c) {
  const auto* found = std::ranges::find(kReplacements, c, &Replacement::from);
  return found == kReplacements.end() ? nullptr : found;
}

}  // namespace

// Every replacement is plain ASCII, so no replaced text holds a byte of the
// table: one pass over the text gives what applying the entries one after the
// other would give.
std::string FoldAccents(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (const char c : text) {
    if (const Replacement* replacement = FindReplacement(c)) {
      folded += replacement->to;
    } else {
      folded += c;
    }
  }
  return folded;
}

}  // namespace mts
