#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "server/TerminalConnection.h"

namespace mts {

// What a terminal's entry is collected for.
enum class TerminalState : std::uint8_t {
  WaitingBadge = 0,  // "CRACHA:" is on screen
  WaitingCard = 1,   // an employee is logged in; "FICHA:" is on screen
};

// Everything the server knows about one terminal (one remote address). The
// registry owns the record; it lives, at a stable address, from the terminal's
// first connect until the registry is released at shutdown. A reconnect
// refreshes the connection fields and resets the rest, it never replaces the
// record.
struct TRegConnection {
  // Position of the terminal's connection in the active-connection list at its
  // latest connect; -1 when no active connection had the address. Goes stale as
  // other connections come and go; it only labels the log lines.
  std::int32_t SocketIndex = -1;
  // The connection found at the latest connect; screen commands go to it and
  // are dropped once it has closed or been released.
  std::weak_ptr<TerminalConnection> Connection;
  // Position of the record in the registry: stable for the whole run; -1 until
  // the record is registered.
  std::int32_t TerminalNumber = -1;
  TerminalState State = TerminalState::WaitingBadge;
  bool HasLeds = false;
  // Characters collected since the prompt was last drawn.
  std::string Input;
  // Text on screen line 3 from the latest result display; empty when none.
  std::string ShownResult;
  // Detailed message of the latest refused card, shown on request.
  std::string PendingError;
  std::string EmployeeCode;
  std::string EmployeeName;  // first 20 characters
  std::string EmployeeSector;
  // Kind of the latest posted card ("F", "S", "T", "I", "FC", "O").
  std::string CardKind;
  // A badge or card of the terminal is with production: its answer is not on
  // the screen yet. Survives a reconnect: one terminal has at most one in
  // flight, whatever its connection.
  bool Busy = false;
  // Reads that arrived while Busy, each kept whole (a run of printable bytes
  // is one key only within its read), handled in order once the answer is
  // shown.
  std::deque<std::string> HeldReads;
};

// Sends the bytes on the terminal's connection in one write. Dropped without
// error when the connection has been released or has closed; an empty text
// sends nothing.
void SendToTerminal(const TRegConnection& terminal, std::string_view bytes);

// True while the record still sends to `connection` and it is open. A handler
// that resumes from the event loop checks it first: meanwhile the terminal may
// have closed, or reconnected and been reset to the badge prompt, and what was
// started for the old connection must not go on with the new one.
bool StillConnectedTo(const TRegConnection& terminal,
                      const std::weak_ptr<TerminalConnection>& connection);

}  // namespace mts
