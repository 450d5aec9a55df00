#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mts {

// The INI section that names the terminals the factory expects, one line per
// terminal: its address as the key, then its name and, after a ";", where it
// stands:
//   [TERMINAIS]
//   192.168.0.21=Montagem 1;Linha 2
inline constexpr const char* kNamedTerminalsSection = "TERMINAIS";

// A terminal the factory expects. Texts are Windows-1252, as read.
struct NamedTerminal {
  std::string address;  // dotted decimal, matched exactly like IP_TERMINAL_LED
  std::string name;
  std::string place;

  bool operator==(const NamedTerminal&) const = default;
};

// One "address=name;place" line of the section: the name is what comes before
// the first ";" and the place what follows it, each without surrounding blanks.
NamedTerminal ParseNamedTerminal(std::string_view line);

}  // namespace mts
