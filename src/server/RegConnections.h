#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/TRegConnection.h"
#include "server/TerminalConnection.h"

namespace mts {

// Addresses (dotted decimal text) of the terminals that have LEDs.
using LedTerminalList = std::vector<std::string>;

// True when an entry of the list equals the address exactly (same text:
// "10.0.0.07" is not "10.0.0.7").
bool IsLedTerminal(const LedTerminalList& ledTerminals, std::string_view address);

// The registry of terminal records, keyed by remote address, in the order the
// addresses first connected. Entries are only appended: a terminal's number
// (its position) is stable for the whole run, across disconnects, reconnects
// and listener restarts. The registry owns the records; a reference obtained
// from TerminalAt stays valid until the registry is destroyed.
// Used on the event-loop thread only.
class RegConnections {
 public:
  RegConnections() = default;
  RegConnections(const RegConnections&) = delete;
  RegConnections& operator=(const RegConnections&) = delete;

  // The LED terminal list, read from the configuration at start-up. Records
  // take HasLeds from it at their next connect.
  void SetLedTerminals(LedTerminalList ledTerminals);
  const LedTerminalList& LedTerminals() const { return ledTerminals_; }
  bool IsLedTerminal(std::string_view address) const;

  // Registers a connect from the address: takes the newest open connection with
  // that address from the active list (scanning from the end), creates the
  // record on the address's first connect, and refreshes SocketIndex (-1 when
  // none matches), Connection, TerminalNumber and HasLeds. Returns the
  // terminal number. Other fields are left as they are.
  int RegisterTerminal(const std::string& address, const ActiveConnections& active);

  // Position of the address in the registry, or -1.
  int FindTerminal(std::string_view address) const;

  // The record at a registry position. Throws std::out_of_range for a position
  // that does not exist.
  TRegConnection& TerminalAt(int number);
  const TRegConnection& TerminalAt(int number) const;
  // The address at a registry position; throws std::out_of_range likewise.
  const std::string& AddressAt(int number) const;

  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  std::size_t CheckedPosition(int number) const;

  LedTerminalList ledTerminals_;
  std::vector<std::pair<std::string, std::unique_ptr<TRegConnection>>> entries_;
};

}  // namespace mts
