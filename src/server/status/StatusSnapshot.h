#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mts {

using StatusTime = std::chrono::system_clock::time_point;

// Cards posted and refused in some period.
struct CardCounts {
  int posted = 0;
  int refused = 0;
};

// One terminal as the status page shows it. Texts are Windows-1252.
struct TerminalStatus {
  // Its number in the registry; -1 for a named terminal that never connected.
  int number = -1;
  std::string address;
  // From the TERMINAIS section; empty for a terminal it does not name.
  std::string name;
  std::string place;
  bool hasLeds = false;
  // Its latest connection is still open.
  bool connected = false;
  std::optional<StatusTime> connectedSince;
  // When its latest connection closed; only while it is not connected.
  std::optional<StatusTime> disconnectedSince;
  // The first byte of the latest key, named ("5", "Enter", "Esc").
  std::string lastKey;
  std::optional<StatusTime> lastKeyAt;
  // The logged-in employee's name; empty while waiting for a badge.
  std::string employeeName;
  bool waitingCard = false;
  // What the result line shows right now (empty once the prompt is back).
  std::string shownResult;
  // The latest badge or card result and when it came.
  std::string lastResult;
  std::optional<StatusTime> lastResultAt;
  CardCounts today;
  CardCounts lastHour;
};

struct SectorStatus {
  std::string sector;
  CardCounts today;
  CardCounts lastHour;
};

enum class Reachability { Unknown, Reachable, Unreachable };

struct DatabaseStatus {
  // Reachable after the start-up read or any badge or card answer; unreachable
  // after an error that left the connection closed, until the next answer.
  Reachability reachability = Reachability::Unknown;
  // The error that made it unreachable, while it is.
  std::optional<StatusTime> unreachableSince;
  std::string lastError;
  std::optional<StatusTime> lastErrorAt;
  std::uint64_t errors = 0;
};

// Cards counted since the server started, by sector, kind and outcome.
struct CardTotal {
  std::string sector;
  std::string cardKind;
  bool posted = false;
  std::uint64_t count = 0;
};

// Card latencies: bucketCounts[i] counts latencies up to upperBounds[i]
// seconds (and above the previous bound); the last entry of bucketCounts,
// one more than the bounds, counts the rest.
struct LatencyHistogram {
  std::vector<double> upperBounds;
  std::vector<std::uint64_t> bucketCounts;
  double sumSeconds = 0;
  std::uint64_t count = 0;
};

// The server process as the system sees it; a figure the system would not
// give is absent.
struct ProcessStats {
  std::optional<std::uint64_t> residentBytes;
  std::optional<std::uint64_t> openDescriptors;
  // Unix seconds.
  std::optional<double> startTime;
};

// Everything the status page, /status and /metrics show, taken at one moment.
struct StatusSnapshot {
  StatusTime now;
  StatusTime startedAt;
  std::string version;
  int terminalPort = 0;
  bool listening = false;
  // By terminal number, then the named terminals that never connected in the
  // order they are named.
  std::vector<TerminalStatus> terminals;
  std::vector<SectorStatus> sectors;  // by sector, those with cards in the last day
  DatabaseStatus database;
  std::vector<CardTotal> cardTotals;  // ordered by sector, kind, outcome
  LatencyHistogram latency;
  std::uint64_t listenerRestarts = 0;
  std::optional<StatusTime> lastRestartAt;
  std::string lastRestartReason;
  ProcessStats process;
};

}  // namespace mts
