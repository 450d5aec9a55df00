#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mts {

// Text rules for the parts of a card code. Positions are 1-based.

// The field of `length` characters that starts at `position`, or empty when the
// code is shorter than position + length - 1. A position below 1 counts as 1,
// the field stops at the end of the code, and a negative length gives empty.
std::string cutCodeField(std::string_view code, std::int32_t position, std::int32_t length);

// Characters `first` to `last` (1-based, inclusive) of the code, clipped to it.
std::string codeCharacters(std::string_view code, std::size_t first, std::size_t last);

// True when the text is empty or holds only spaces and control characters.
bool isBlankText(std::string_view text);

// A programme number as it is stored: every ";" becomes "/" and the ASCII
// letters are upper-cased.
std::string normaliseProgramme(std::string_view programme);

// A sub-card number as it is stored: "", "0", "00", "000" and "0000" mean no
// sub-card and become "0000"; anything else shorter than four characters is
// left-padded with "0"; four or more characters stay as they are.
std::string normaliseSubCard(std::string_view subCard);

// The 12-digit code printed on a cut card: "28" and the id zero-padded to ten
// digits (a negative id keeps its sign in front).
std::string cutCardCode(std::int32_t id);

// True when `sector` is one item of a comma-separated list (line breaks also
// separate). Items are trimmed of spaces and control characters; the match is
// exact and case-sensitive; an empty list matches nothing.
bool sectorListContains(std::string_view list, std::string_view sector);

}  // namespace mts
