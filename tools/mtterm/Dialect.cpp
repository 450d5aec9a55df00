#include "mtterm/Dialect.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace mts::termsim {

std::optional<Dialect> parseDialect(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "vt100" || lower == "vt-100") return Dialect::Vt100;
  if (lower == "stx" || lower == "stx-etx") return Dialect::StxEtx;
  return std::nullopt;
}

std::string_view dialectName(Dialect dialect) {
  return dialect == Dialect::Vt100 ? "vt100" : "stx";
}

}  // namespace mts::termsim
