#include "server/RewriteCardCode.h"

#include <array>
#include <utility>

namespace mts {

namespace {

// The groups typed after the first character, with the letters they stand for.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kInnerGroups{{
    {".2.", "SL"},
    {".3.", "ST"},
    {".4.", "AM"},
    {".5.", "AR"},
}};

}  // namespace

std::string RewriteCardCode(std::string_view typed) {
  if (typed.size() <= 3) return std::string(typed);
  if (typed.substr(0, 3) == ".1.") return "OP" + std::string(typed.substr(3));
  for (const auto& [group, letters] : kInnerGroups) {
    if (typed.substr(1, 3) == group) {
      return std::string(typed.substr(0, 1)) + std::string(letters) + std::string(typed.substr(4));
    }
  }
  return std::string(typed);
}

}  // namespace mts
