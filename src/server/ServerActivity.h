#pragma once

#include <chrono>
#include <string>

namespace mts {

// The outcome of one submitted card, as the status page and the metrics count
// it.
struct CardResult {
  int terminal = -1;  // TerminalNumber
  // The posting sector as identified from the code; the logged-in employee's
  // sector when the code was not identified.
  std::string sector;
  // "F", "S", "T", "I", "FC", "O"; empty when the card was refused before its
  // kind was known.
  std::string cardKind;
  bool posted = false;
  // From the Enter that submitted the code to the result on the terminal.
  std::chrono::microseconds latency{0};
  // The text the terminal shows on its result line.
  std::string shownText;
};

// What the server reports about its own activity to whoever watches it (the
// status page and metrics). Every call is made on the event-loop thread: a key
// before it is handled, a result once it is on the terminal, an error once it
// has escaped its handler. None may throw. Implementations only record: they
// never call back into the server.
class ServerActivity {
 public:
  virtual ~ServerActivity() = default;

  // A terminal connected (first time or again) from the address.
  virtual void terminalConnected(int terminal, const std::string& address) = 0;
  // The terminal's connection closed (it may already have connected again
  // from the same address).
  virtual void terminalDisconnected(int terminal) = 0;
  // A read arrived from a terminal; `key` is the last key it held (its first
  // byte names it).
  virtual void keyReceived(int terminal, const std::string& key) = 0;
  // A badge was looked up; shownText is the result line text when refused.
  virtual void badgeResult(int terminal, bool accepted, const std::string& shownText) = 0;
  // A card was posted or refused.
  virtual void cardResult(const CardResult& result) = 0;
  // The production module read from the database at start-up.
  virtual void databaseReachable() = 0;
  // A database operation failed with this message; connectionOpen tells
  // whether the connection survived it (an SQL error) or is gone (the server
  // could not be reached, or the link was lost).
  virtual void databaseError(const std::string& message, bool connectionOpen) = 0;
  // The error handler closed and reopened the listening socket because of the
  // message; listening tells whether it listens again.
  virtual void listenerRestarted(const std::string& message, bool listening) = 0;
};

}  // namespace mts
