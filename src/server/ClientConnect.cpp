#include "server/ClientConnect.h"

namespace mts {

std::string TerminalListEntry(int terminalNumber, const std::string& address) {
  return std::to_string(terminalNumber) + " - " + address;
}

ConnectedTerminal ClientConnect(RegConnections& registry, TerminalScreen& screen,
                                const std::shared_ptr<TerminalConnection>& connection,
                                const ActiveConnections& active) {
  const std::string address = connection->remoteAddress();
  const int knownBefore = registry.Count();
  const int number = registry.RegisterTerminal(address, active);

  TRegConnection& terminal = registry.TerminalAt(number);
  if (terminal.Connection.expired()) terminal.Connection = connection;
  // Keys held for the old connection are not the new one's.
  terminal.HeldReads.clear();

  screen.ShowBadgePrompt(terminal);
  return {number, TerminalListEntry(number, address), number >= knownBefore};
}

}  // namespace mts
