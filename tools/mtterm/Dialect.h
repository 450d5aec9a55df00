#pragma once

#include <optional>
#include <string_view>

namespace mts::termsim {

// The two screen dialects a server speaks: VT-100 escape sequences, or commands framed by
// STX and ETX. LED commands and echoes are the same in both.
enum class Dialect { Vt100, StxEtx };

// Accepts "vt100" / "vt-100" and "stx" / "stx-etx", in any case.
std::optional<Dialect> parseDialect(std::string_view name);
std::string_view dialectName(Dialect dialect);

}  // namespace mts::termsim
