#include "server/TRegConnection.h"

namespace mts {

void SendToTerminal(const TRegConnection& terminal, std::string_view bytes) {
  if (bytes.empty()) return;  // a zero-byte write tells the terminal nothing
  const std::shared_ptr<TerminalConnection> connection = terminal.Connection.lock();
  if (connection && connection->isOpen()) connection->send(bytes);
}

bool StillConnectedTo(const TRegConnection& terminal,
                      const std::weak_ptr<TerminalConnection>& connection) {
  const std::shared_ptr<TerminalConnection> current = terminal.Connection.lock();
  return current && current == connection.lock() && current->isOpen();
}

}  // namespace mts
