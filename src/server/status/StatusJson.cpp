#include "server/status/StatusJson.h"

#include <cstdio>

#include "server/status/StatusProblems.h"
#include "server/status/StatusText.h"

namespace mts {
namespace {

std::string Time(const std::optional<StatusTime>& moment) {
  return moment ? JsonString(IsoLocalTime(*moment)) : "null";
}

std::string Bool(bool value) {
  return value ? "true" : "false";
}

std::string Counts(const CardCounts& counts) {
  return "{\"posted\":" + std::to_string(counts.posted) +
         ",\"refused\":" + std::to_string(counts.refused) + "}";
}

std::string Cards(const CardCounts& today, const CardCounts& lastHour) {
  return "{\"today\":" + Counts(today) + ",\"lastHour\":" + Counts(lastHour) + "}";
}

std::string Reachable(Reachability reachability) {
  switch (reachability) {
    case Reachability::Reachable:
      return "true";
    case Reachability::Unreachable:
      return "false";
    case Reachability::Unknown:
      break;
  }
  return "null";
}

std::string Server(const StatusSnapshot& status) {
  return "{\"version\":" + JsonString(status.version) + ",\"startedAt\":" + Time(status.startedAt) +
         ",\"now\":" + Time(status.now) +
         ",\"terminalPort\":" + std::to_string(status.terminalPort) +
         ",\"listening\":" + Bool(status.listening) +
         ",\"listenerRestarts\":" + std::to_string(status.listenerRestarts) +
         ",\"lastRestartAt\":" + Time(status.lastRestartAt) + ",\"lastRestartReason\":" +
         (status.lastRestartAt ? JsonString(status.lastRestartReason) : "null") + "}";
}

std::string Database(const DatabaseStatus& database) {
  return "{\"reachable\":" + Reachable(database.reachability) +
         ",\"errors\":" + std::to_string(database.errors) +
         ",\"lastError\":" + (database.lastErrorAt ? JsonString(database.lastError) : "null") +
         ",\"lastErrorAt\":" + Time(database.lastErrorAt) +
         ",\"unreachableSince\":" + Time(database.unreachableSince) + "}";
}

std::string Terminal(const TerminalStatus& terminal) {
  return "{\"number\":" + (terminal.number < 0 ? "null" : std::to_string(terminal.number)) +
         ",\"address\":" + JsonString(terminal.address) + ",\"name\":" + JsonString(terminal.name) +
         ",\"place\":" + JsonString(terminal.place) + ",\"leds\":" + Bool(terminal.hasLeds) +
         ",\"connected\":" + Bool(terminal.connected) +
         ",\"connectedSince\":" + Time(terminal.connectedSince) +
         ",\"disconnectedSince\":" + Time(terminal.disconnectedSince) +
         ",\"state\":" + (terminal.waitingCard ? "\"card\"" : "\"badge\"") +
         ",\"employee\":" + JsonString(terminal.employeeName) +
         ",\"lastKey\":" + JsonString(terminal.lastKey) +
         ",\"lastKeyAt\":" + Time(terminal.lastKeyAt) +
         ",\"shownResult\":" + JsonString(terminal.shownResult) +
         ",\"lastResult\":" + JsonString(terminal.lastResult) +
         ",\"lastResultAt\":" + Time(terminal.lastResultAt) +
         ",\"cards\":" + Cards(terminal.today, terminal.lastHour) + "}";
}

template <typename Item, typename Render>
std::string Array(const std::vector<Item>& items, Render render) {
  std::string out = "[";
  for (const Item& item : items) {
    if (out.size() > 1) out += ",";
    out += render(item);
  }
  return out + "]";
}

}  // namespace

std::string StatusJson(const StatusSnapshot& status) {
  return "{\"server\":" + Server(status) + ",\"problems\":" +
         Array(StatusProblems(status),
               [](const StatusProblem& problem) {
                 return "{\"kind\":" + JsonString(problem.kind) +
                        ",\"text\":" + JsonString(problem.text) + "}";
               }) +
         ",\"database\":" + Database(status.database) +
         ",\"terminals\":" + Array(status.terminals, Terminal) + ",\"sectors\":" +
         Array(status.sectors,
               [](const SectorStatus& sector) {
                 return "{\"sector\":" + JsonString(sector.sector) +
                        ",\"cards\":" + Cards(sector.today, sector.lastHour) + "}";
               }) +
         "}\n";
}

}  // namespace mts
