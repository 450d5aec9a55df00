#pragma once

#include <cstdint>
#include <string_view>

namespace mts {

// A flag kept as text in the database: on exactly when the text is "S"
// (case-sensitive, nothing trimmed).
bool flagFromText(std::string_view text);

// The integer at the start of a text, as production parameters and the numeric
// parts of card codes are read:
//  - leading spaces are skipped; an optional "+" or "-" follows;
//  - "$", "x", "X", "0x" or "0X" makes the digits hexadecimal;
//  - conversion stops at the first character that is not a digit and keeps the
//    digits read so far (no digits at all gives 0);
//  - the minus sign counts only when the whole text converted: "-7" gives -7,
//    "-7a" gives 7;
//  - a number that does not fit in 32 bits (more than 8 hexadecimal digits)
//    gives 0, so that a long code never reads as a shorter, different number.
std::int32_t integerFromText(std::string_view text);

}  // namespace mts
