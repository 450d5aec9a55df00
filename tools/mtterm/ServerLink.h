#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "mtterm/ProtocolInterpreter.h"
#include "mtterm/RawTrace.h"
#include "mtterm/TcpClient.h"

namespace mts::termsim {

// The connected terminal: what arrives from the server goes through the interpreter (and
// the raw trace, when there is one), keys go out to the server. Holds references only;
// the client, interpreter and trace must outlive it.
class ServerLink {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Event { Data, Timeout, Closed, Failed };

  ServerLink(TcpClient& client, ProtocolInterpreter& interpreter, RawTrace* trace);

  // Takes in whatever has arrived, without waiting; Timeout when nothing had.
  Event takeAvailable();
  // Waits for bytes until `deadline` and takes them in; Timeout when none came.
  Event receiveUntil(Clock::time_point deadline);
  bool send(std::string_view bytes);

  // Why the latest call failed or the connection closed.
  const std::string& error() const { return error_; }

 private:
  TcpClient& client_;
  ProtocolInterpreter& interpreter_;
  RawTrace* trace_;
  std::string error_;
};

}  // namespace mts::termsim
