#include "server/status/ShopFloorStatus.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace mts {
namespace {

// Seconds; wide enough to tell a quick posting from one stuck on a lock.
const std::vector<double> kLatencyBounds{0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10};

void Count(CardCounts& counts, bool posted) {
  if (posted) {
    ++counts.posted;
  } else {
    ++counts.refused;
  }
}

}  // namespace

StatusTime SystemNow() {
  return std::chrono::system_clock::now();
}

StatusTime StartOfLocalDay(StatusTime moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  local.tm_hour = 0;
  local.tm_min = 0;
  local.tm_sec = 0;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

std::string KeyName(const std::string& key) {
  if (key.empty()) return "";
  const auto first = static_cast<unsigned char>(key[0]);
  switch (first) {
    case 0x0D:
      return "Enter";
    case 0x08:
      return "BS";
    case 0x1B:
      return "Esc";
    case 0x7F:
      return "Del";
    case 0x20:
      return "Espa\xE7o";
    default:
      break;
  }
  if (first > 0x20) return std::string(1, static_cast<char>(first));
  return std::to_string(first);
}

ShopFloorStatus::ShopFloorStatus(std::string version, StatusClock clock)
    : version_(std::move(version)), clock_(std::move(clock)), startedAt_(clock_()) {
  latency_.upperBounds = kLatencyBounds;
  latency_.bucketCounts.assign(kLatencyBounds.size() + 1, 0);
}

ShopFloorStatus::TerminalHistory& ShopFloorStatus::History(int terminal) {
  return terminals_[terminal];
}

void ShopFloorStatus::nameTerminals(std::vector<NamedTerminal> named) {
  named_ = std::move(named);
}

const NamedTerminal* ShopFloorStatus::Named(std::string_view address) const {
  for (const NamedTerminal& named : named_) {
    if (named.address == address) return &named;
  }
  return nullptr;
}

void ShopFloorStatus::terminalConnected(int terminal, const std::string& address) {
  (void)address;  // the registry holds it
  History(terminal).connectedSince = clock_();
}

void ShopFloorStatus::terminalDisconnected(int terminal) {
  History(terminal).disconnectedAt = clock_();
}

void ShopFloorStatus::keyReceived(int terminal, const std::string& key) {
  TerminalHistory& history = History(terminal);
  history.lastKey = KeyName(key);
  history.lastKeyAt = clock_();
}

void ShopFloorStatus::badgeResult(int terminal, bool accepted, const std::string& shownText) {
  const StatusTime now = clock_();
  Reached();
  TerminalHistory& history = History(terminal);
  history.lastResult = accepted ? std::string() : shownText;
  history.lastResultAt = now;
}

void ShopFloorStatus::cardResult(const CardResult& result) {
  const StatusTime now = clock_();
  Reached();
  TerminalHistory& history = History(result.terminal);
  history.lastResult = result.shownText;
  history.lastResultAt = now;

  recentCards_.push_back({now, result.terminal, result.sector, result.posted});
  ++totals_[TotalKey{result.sector, result.cardKind, result.posted}];

  const double seconds = std::chrono::duration<double>(result.latency).count();
  const auto bucket = std::lower_bound(kLatencyBounds.begin(), kLatencyBounds.end(), seconds);
  ++latency_.bucketCounts[static_cast<std::size_t>(bucket - kLatencyBounds.begin())];
  latency_.sumSeconds += seconds;
  ++latency_.count;
  Forget(now);
}

void ShopFloorStatus::Forget(StatusTime now) {
  const StatusTime keepFrom = std::min(StartOfLocalDay(now), now - std::chrono::hours(1));
  while (!recentCards_.empty() && recentCards_.front().at < keepFrom) recentCards_.pop_front();
}

void ShopFloorStatus::databaseReachable() {
  Reached();
}

void ShopFloorStatus::Reached() {
  database_.reachability = Reachability::Reachable;
  database_.unreachableSince.reset();
}

void ShopFloorStatus::databaseError(const std::string& message, bool connectionOpen) {
  if (!connectionOpen && database_.reachability != Reachability::Unreachable) {
    database_.reachability = Reachability::Unreachable;
    database_.unreachableSince = clock_();
  }
  database_.lastError = message;
  database_.lastErrorAt = clock_();
  ++database_.errors;
}

void ShopFloorStatus::listenerRestarted(const std::string& message, bool listening) {
  (void)listening;  // the caller reads the listener itself when it takes a snapshot
  ++listenerRestarts_;
  lastRestartAt_ = clock_();
  lastRestartReason_ = message;
}

StatusSnapshot ShopFloorStatus::snapshot(const RegConnections& registry) const {
  StatusSnapshot status;
  status.now = clock_();
  status.startedAt = startedAt_;
  status.version = version_;
  status.database = database_;
  status.latency = latency_;
  status.listenerRestarts = listenerRestarts_;
  status.lastRestartAt = lastRestartAt_;
  status.lastRestartReason = lastRestartReason_;
  for (const auto& [key, count] : totals_) {
    status.cardTotals.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key), count});
  }

  for (int number = 0; number < registry.Count(); ++number) {
    const TRegConnection& record = registry.TerminalAt(number);
    TerminalStatus terminal;
    terminal.number = number;
    terminal.address = registry.AddressAt(number);
    if (const NamedTerminal* named = Named(terminal.address)) {
      terminal.name = named->name;
      terminal.place = named->place;
    }
    terminal.hasLeds = record.HasLeds;
    const auto connection = record.Connection.lock();
    terminal.connected = connection && connection->isOpen();
    // Works whether the state is a plain byte or an enumeration.
    terminal.waitingCard = static_cast<int>(record.State) == 1;
    if (terminal.waitingCard) terminal.employeeName = record.EmployeeName;
    terminal.shownResult = record.ShownResult;
    if (auto found = terminals_.find(number); found != terminals_.end()) {
      const TerminalHistory& history = found->second;
      terminal.connectedSince = history.connectedSince;
      // A close from before the latest connect says nothing about this one.
      if (!terminal.connected && history.disconnectedAt &&
          (!history.connectedSince || *history.disconnectedAt >= *history.connectedSince)) {
        terminal.disconnectedSince = history.disconnectedAt;
      }
      terminal.lastKey = history.lastKey;
      terminal.lastKeyAt = history.lastKeyAt;
      terminal.lastResult = history.lastResult;
      terminal.lastResultAt = history.lastResultAt;
    }
    status.terminals.push_back(std::move(terminal));
  }
  for (const NamedTerminal& named : named_) {
    if (registry.FindTerminal(named.address) >= 0) continue;
    TerminalStatus terminal;
    terminal.address = named.address;
    terminal.name = named.name;
    terminal.place = named.place;
    terminal.hasLeds = registry.IsLedTerminal(named.address);
    status.terminals.push_back(std::move(terminal));
  }

  const StatusTime dayStart = StartOfLocalDay(status.now);
  const StatusTime hourAgo = status.now - std::chrono::hours(1);
  std::map<std::string, SectorStatus> sectors;
  for (const CardEvent& card : recentCards_) {
    const bool today = card.at >= dayStart;
    const bool lastHour = card.at >= hourAgo;
    if (!today && !lastHour) continue;
    SectorStatus& sector = sectors[card.sector];
    sector.sector = card.sector;
    TerminalStatus* terminal = nullptr;
    if (card.terminal >= 0 && card.terminal < static_cast<int>(status.terminals.size())) {
      terminal = &status.terminals[static_cast<std::size_t>(card.terminal)];
    }
    if (today) {
      Count(sector.today, card.posted);
      if (terminal) Count(terminal->today, card.posted);
    }
    if (lastHour) {
      Count(sector.lastHour, card.posted);
      if (terminal) Count(terminal->lastHour, card.posted);
    }
  }
  for (auto& [name, sector] : sectors) status.sectors.push_back(std::move(sector));
  return status;
}

}  // namespace mts
