#pragma once

#include <functional>
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

// Runs work later, from the event loop. The LED blink waits through it
// instead of blocking: between its steps the event loop is free, so every
// terminal (this one included) is served, and blinks never nest. The Qt edge
// uses timers; tests run the due calls by hand.
class EventTimer {
 public:
  virtual ~EventTimer() = default;
  // Calls work once, from the event loop, no sooner than `milliseconds` from
  // now (0 or less: as soon as the loop is free) and never from inside this
  // call. Calls that fall due together run in the order they were asked for.
  // An exception escaping work goes to the server's error handler. Calls still
  // pending when the timer is destroyed are dropped.
  virtual void callAfter(int milliseconds, std::function<void()> work) = 0;
  // The one call that any thread may make: runs work on the event loop as
  // soon as it is free, calls from one thread in the order they were made,
  // guarded as callAfter's are. Calls still pending when the timer is
  // destroyed are dropped.
  virtual void post(std::function<void()> work) = 0;
};

}  // namespace mts
