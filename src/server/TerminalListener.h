#pragma once

#include <cstddef>
#include <string>

#include "server/TerminalConnection.h"

namespace mts {

// The listening TCP socket as the server core drives it. The Qt edge
// implements it; tests use a fake.
class TerminalListener {
 public:
  virtual ~TerminalListener() = default;

  // Starts listening on every local address at the port. Returns false and
  // sets error (a readable message) when the port cannot be bound or is not a
  // valid port number.
  virtual bool open(int port, std::string& error) = 0;
  // Stops listening and closes every terminal connection; nothing happens when
  // it is not listening.
  virtual void close() = 0;
  virtual bool isListening() const = 0;
  // The most terminal connections served at once, from the next connect on.
  virtual void setMaxConnections(std::size_t limit) = 0;
  // The open terminal connections, in the order they connected.
  virtual const ActiveConnections& activeConnections() const = 0;
};

// The events the listening socket delivers to the server, each from the event
// loop. Exceptions thrown by them are caught at the socket edge and handed to
// HandleError.
class TerminalEvents {
 public:
  virtual ~TerminalEvents() = default;

  // A terminal connected; the connection is already in the active list.
  virtual void ClientConnect(const std::shared_ptr<TerminalConnection>& connection) = 0;
  // A terminal's connection closed (its peer left, or the listener closed it)
  // and has left the active list.
  virtual void ClientDisconnect(const std::shared_ptr<TerminalConnection>& connection) {
    (void)connection;
  }
  // Bytes arrived from a terminal (never empty): everything available when the
  // read event was handled.
  virtual void ServerClientRead(const std::shared_ptr<TerminalConnection>& connection,
                                const std::string& unit) = 0;
  // An error escaped an event handler.
  virtual void HandleError(const std::string& message) = 0;
  // The listener closed or refused one terminal connection on its own (a
  // socket error, the connection limit, a peer that does not read); the other
  // connections and the listener go on. The message is a line for the log.
  virtual void ConnectionNotice(const std::string& message) { (void)message; }
};

}  // namespace mts
