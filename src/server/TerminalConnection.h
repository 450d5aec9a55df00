#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mts {

// One terminal's TCP connection as the server logic sees it. The socket edge
// implements it; tests use a recording fake.
//
// Lifetime: the listening socket owns its connections (shared_ptr) while they
// are active; everything else holds a std::weak_ptr, so a connection that has
// closed and been released is recognised and output to it is dropped.
class TerminalConnection {
 public:
  virtual ~TerminalConnection() = default;

  // The peer's IPv4 address as dotted decimal text ("127.0.0.2").
  virtual std::string remoteAddress() const = 0;
  // False once the peer or the server closed the connection.
  virtual bool isOpen() const = 0;
  // Sends the bytes in one write; does nothing when the connection is closed.
  virtual void send(std::string_view bytes) = 0;
};

// The listening socket's active connections, in the order it lists them.
using ActiveConnections = std::vector<std::shared_ptr<TerminalConnection>>;

// Lets pending events run during a pause of the given length: the LED blink
// waits through it without freezing the other terminals. The Qt edge serves
// the event loop until the deadline; tests record the pauses.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void pause(int milliseconds) = 0;
};

}  // namespace mts
