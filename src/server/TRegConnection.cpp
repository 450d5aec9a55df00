#include "server/TRegConnection.h"

namespace mts {

void SendToTerminal(const TRegConnection& terminal, std::string_view bytes) {
  const std::shared_ptr<TerminalConnection> connection = terminal.Connection.lock();
  if (connection && connection->isOpen()) connection->send(bytes);
}

}  // namespace mts
