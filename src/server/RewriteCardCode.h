#pragma once

#include <string>
#include <string_view>

namespace mts {

// Turns a card code typed on a keypad, which has no letters, into the code the
// cards carry: ".1." at the start stands for "OP", and ".2." to ".5." after
// the first character for "SL", "ST", "AM" and "AR". Codes of 3 characters or
// fewer, and codes without such a group, come back unchanged.
//   ".1.0123456789" -> "OP0123456789"     "9.2.4567" -> "9SL4567"
std::string RewriteCardCode(std::string_view typed);

}  // namespace mts
