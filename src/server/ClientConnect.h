#pragma once

#include <memory>
#include <string>

#include "server/RegConnections.h"
#include "server/TerminalConnection.h"
#include "server/TerminalScreen.h"

namespace mts {

// Outcome of a terminal's connect, for the window's terminal list.
struct ConnectedTerminal {
  int TerminalNumber = -1;
  // "n - address", the terminal list entry.
  std::string ListEntry;
  // True on the address's first connect since start: the entry is not listed
  // yet. A reconnect gives the same entry again and must not add it twice.
  bool IsNewTerminal = false;
};

// The terminal list entry: the number in decimal, " - ", the address.
std::string TerminalListEntry(int terminalNumber, const std::string& address);

// Connect handler: registers the connection's address against the active list
// (the connecting connection included), then resets the record to the badge
// state and draws the badge prompt. Should the active list not hold an open
// connection with the address, the record takes the connecting connection
// (with SocketIndex -1) so the terminal still gets its prompt.
ConnectedTerminal ClientConnect(RegConnections& registry, TerminalScreen& screen,
                                const std::shared_ptr<TerminalConnection>& connection,
                                const ActiveConnections& active);

}  // namespace mts
