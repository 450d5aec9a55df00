#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>

#include "server/NamedTerminals.h"
#include "server/RegConnections.h"
#include "server/ServerActivity.h"
#include "server/status/StatusSnapshot.h"

namespace mts {

using StatusClock = std::function<StatusTime()>;

StatusTime SystemNow();

// The shop floor as the server has seen it since it started: connects and
// disconnects, keys,
// badge and card results, database errors and listener restarts, recorded as
// they are reported. It keeps what the terminal records do not: times,
// results, counts and latencies. A snapshot joins them with the live records.
//
// Counts for "today" follow the local calendar day of the clock; cards older
// than both the day and the last hour are forgotten, so memory stays bounded
// by one day's cards. Event-loop thread only.
class ShopFloorStatus final : public ServerActivity {
 public:
  explicit ShopFloorStatus(std::string version, StatusClock clock = SystemNow);

  // The terminals the configuration names: a snapshot shows their names and
  // lists those that never connected.
  void nameTerminals(std::vector<NamedTerminal> named);

  void terminalConnected(int terminal, const std::string& address) override;
  void terminalDisconnected(int terminal) override;
  void keyReceived(int terminal, const std::string& key) override;
  void badgeResult(int terminal, bool accepted, const std::string& shownText) override;
  void cardResult(const CardResult& result) override;
  void databaseReachable() override;
  void databaseError(const std::string& message, bool connectionOpen) override;
  void listenerRestarted(const std::string& message, bool listening) override;

  // Everything recorded, joined with the registry's records (address, LEDs,
  // connection, employee, state, result line), at the clock's now. The
  // listener fields are left for the caller.
  StatusSnapshot snapshot(const RegConnections& registry) const;

 private:
  struct TerminalHistory {
    std::optional<StatusTime> connectedSince;
    std::optional<StatusTime> disconnectedAt;
    std::string lastKey;
    std::optional<StatusTime> lastKeyAt;
    std::string lastResult;
    std::optional<StatusTime> lastResultAt;
  };
  struct CardEvent {
    StatusTime at;
    int terminal;
    std::string sector;
    bool posted;
  };
  using TotalKey = std::tuple<std::string, std::string, bool>;

  TerminalHistory& History(int terminal);
  const NamedTerminal* Named(std::string_view address) const;
  void Forget(StatusTime now);
  void Reached();

  std::string version_;
  StatusClock clock_;
  StatusTime startedAt_;
  std::vector<NamedTerminal> named_;
  std::map<int, TerminalHistory> terminals_;
  std::deque<CardEvent> recentCards_;
  std::map<TotalKey, std::uint64_t> totals_;
  LatencyHistogram latency_;
  DatabaseStatus database_;
  std::uint64_t listenerRestarts_ = 0;
  std::optional<StatusTime> lastRestartAt_;
  std::string lastRestartReason_;
};

// The start of the local calendar day that holds the moment.
StatusTime StartOfLocalDay(StatusTime moment);

// The name of a key's first byte: printable characters as themselves,
// the special keys by name, anything else as its decimal value.
std::string KeyName(const std::string& key);

}  // namespace mts
