#include "server/TRegConnection.h"

namespace mts {

void SendToTerminal(const TRegConnection& terminal, std::string_view bytes) {
  if (bytes.empty()) return;  // a zero-byte write tells the terminal nothing
  const std::shared_ptr<TerminalConnection> connection = terminal.Connection.lock();
  if (connection && connection->isOpen()) connection->send(bytes);
}

}  // namespace mts
