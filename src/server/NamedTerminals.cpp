#include "server/NamedTerminals.h"

#include "routines/Windows1252Text.h"

namespace mts {

NamedTerminal ParseNamedTerminal(std::string_view line) {
  NamedTerminal terminal;
  const std::size_t equals = line.find('=');
  terminal.address = std::string(text::TrimWhitespace(line.substr(0, equals)));
  if (equals == std::string_view::npos) return terminal;
  const std::string_view value = line.substr(equals + 1);
  const std::size_t semicolon = value.find(';');
  terminal.name = std::string(text::TrimWhitespace(value.substr(0, semicolon)));
  if (semicolon != std::string_view::npos) {
    terminal.place = std::string(text::TrimWhitespace(value.substr(semicolon + 1)));
  }
  return terminal;
}

}  // namespace mts
