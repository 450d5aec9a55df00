#include "server/status/StatusProblems.h"

#include "server/status/StatusText.h"

namespace mts {
namespace {

std::string Ago(const std::optional<StatusTime>& moment, StatusTime now) {
  return moment ? " h\xE1 " + TimeSince(*moment, now) : "";
}

// Ends the text with a full stop unless it has one (an error message may).
std::string Sentence(std::string text) {
  if (text.empty() || text.back() != '.') text += '.';
  return text;
}

std::string Database(const StatusSnapshot& status) {
  const DatabaseStatus& database = status.database;
  std::string text;
  if (database.reachability == Reachability::Unreachable) {
    text = "Banco de dados inacess\xEDvel" +
           Ago(database.unreachableSince ? database.unreachableSince : database.lastErrorAt,
               status.now);
  } else if (database.reachability == Reachability::Unknown) {
    text =
        "Banco de dados ainda n\xE3o respondeu desde o in\xED"
        "cio";
  } else {
    return "";
  }
  if (database.lastErrorAt) text += ": " + database.lastError;
  return Sentence(text);
}

std::string Terminals(const StatusSnapshot& status) {
  std::string list;
  int count = 0;
  for (const TerminalStatus& terminal : status.terminals) {
    if (terminal.connected) continue;
    list += (count++ == 0 ? ": " : "; ") + TerminalTitle(terminal);
    if (terminal.number < 0) {
      list += " nunca conectou";
    } else {
      list += Ago(terminal.disconnectedSince, status.now);
    }
  }
  if (count == 0) return "";
  const std::string what =
      count == 1 ? "1 terminal desconectado" : std::to_string(count) + " terminais desconectados";
  return Sentence(what + list);
}

std::string Restarts(const StatusSnapshot& status) {
  if (status.listenerRestarts == 0) return "";
  std::string text =
      "Conex\xE3o de terminais reiniciada " + std::to_string(status.listenerRestarts) + " vez(es)";
  if (status.lastRestartAt) {
    text +=
        ", a \xFAltima" + Ago(status.lastRestartAt, status.now) + ": " + status.lastRestartReason;
  }
  return Sentence(text);
}

}  // namespace

std::string TerminalTitle(const TerminalStatus& terminal) {
  if (terminal.name.empty()) return terminal.address;
  return terminal.name + " (" + terminal.address + ")";
}

std::vector<StatusProblem> StatusProblems(const StatusSnapshot& status) {
  std::vector<StatusProblem> problems;
  auto add = [&](const char* kind, std::string text) {
    if (!text.empty()) problems.push_back({kind, std::move(text)});
  };
  if (!status.listening) {
    add("listener", "Porta de terminais " + std::to_string(status.terminalPort) +
                        " fechada: nenhum terminal consegue conectar.");
  }
  add("database", Database(status));
  add("terminals", Terminals(status));
  add("restarts", Restarts(status));
  return problems;
}

}  // namespace mts
