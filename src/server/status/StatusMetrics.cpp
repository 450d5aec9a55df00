#include "server/status/StatusMetrics.h"

#include <charconv>

#include "server/status/StatusText.h"

namespace mts {
namespace {

// The shortest text that reads back as the same double ("0.1", not
// "0.10000000000000001").
std::string Number(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

double Seconds(StatusTime moment) {
  return std::chrono::duration<double>(moment.time_since_epoch()).count();
}

void Family(std::string& out, const char* name, const char* type, const char* help) {
  out += std::string("# HELP ") + name + " " + help + "\n";
  out += std::string("# TYPE ") + name + " " + type + "\n";
}

void Sample(std::string& out, const std::string& name, const std::string& labels,
            const std::string& value) {
  out += name;
  if (!labels.empty()) out += "{" + labels + "}";
  out += " " + value + "\n";
}

std::string Label(const char* name, std::string_view value) {
  return std::string(name) + "=\"" + MetricLabelValue(value) + "\"";
}

// A terminal's series are labelled by its address alone: its number follows
// the order terminals connected in, which another run does not repeat.
std::string TerminalLabels(const TerminalStatus& terminal) {
  return Label("address", terminal.address);
}

void ProcessFigures(std::string& out, const ProcessStats& process) {
  if (process.residentBytes) {
    Family(out, "process_resident_memory_bytes", "gauge", "Resident memory size in bytes.");
    Sample(out, "process_resident_memory_bytes", "", std::to_string(*process.residentBytes));
  }
  if (process.openDescriptors) {
    Family(out, "process_open_fds", "gauge", "Number of open file descriptors.");
    Sample(out, "process_open_fds", "", std::to_string(*process.openDescriptors));
  }
  if (process.startTime) {
    Family(out, "process_start_time_seconds", "gauge",
           "Start time of the process since unix epoch in seconds.");
    Sample(out, "process_start_time_seconds", "", Number(*process.startTime));
  }
}

}  // namespace

std::string StatusMetrics(const StatusSnapshot& status) {
  std::string out;

  Family(out, "mtserver_info", "gauge", "Version of the running server.");
  Sample(out, "mtserver_info", Label("version", status.version), "1");
  Family(out, "mtserver_start_time_seconds", "gauge", "Start time of the server, Unix seconds.");
  Sample(out, "mtserver_start_time_seconds", "", Number(Seconds(status.startedAt)));
  Family(out, "mtserver_listening", "gauge", "1 while the terminal port is listening, else 0.");
  Sample(out, "mtserver_listening", "", status.listening ? "1" : "0");

  int connected = 0;
  for (const TerminalStatus& terminal : status.terminals) connected += terminal.connected ? 1 : 0;
  Family(out, "mtserver_terminals_connected", "gauge", "Terminals with an open connection.");
  Sample(out, "mtserver_terminals_connected", "", std::to_string(connected));
  Family(out, "mtserver_terminal_info", "gauge",
         "The terminal's name and place from the TERMINAIS section (empty when not named).");
  for (const TerminalStatus& terminal : status.terminals) {
    Sample(out, "mtserver_terminal_info",
           TerminalLabels(terminal) + "," + Label("name", terminal.name) + "," +
               Label("place", terminal.place),
           "1");
  }
  Family(out, "mtserver_terminal_connected", "gauge",
         "1 while the terminal's latest connection is open, else 0 (also for a named terminal "
         "that never connected).");
  for (const TerminalStatus& terminal : status.terminals) {
    Sample(out, "mtserver_terminal_connected", TerminalLabels(terminal),
           terminal.connected ? "1" : "0");
  }
  Family(out, "mtserver_terminal_last_key_time_seconds", "gauge",
         "Time of the terminal's latest key, Unix seconds.");
  for (const TerminalStatus& terminal : status.terminals) {
    if (!terminal.lastKeyAt) continue;
    Sample(out, "mtserver_terminal_last_key_time_seconds", TerminalLabels(terminal),
           Number(Seconds(*terminal.lastKeyAt)));
  }

  Family(out, "mtserver_cards_total", "counter",
         "Cards submitted since the server started, by sector, card kind and result.");
  for (const CardTotal& total : status.cardTotals) {
    Sample(out, "mtserver_cards_total",
           Label("sector", total.sector) + "," + Label("kind", total.cardKind) + "," +
               Label("result", total.posted ? "posted" : "refused"),
           std::to_string(total.count));
  }

  Family(out, "mtserver_card_latency_seconds", "histogram",
         "Time from the Enter that submits a card to its result on the terminal.");
  std::uint64_t cumulative = 0;
  const LatencyHistogram& latency = status.latency;
  for (std::size_t i = 0; i < latency.bucketCounts.size(); ++i) {
    cumulative += latency.bucketCounts[i];
    const std::string bound =
        i < latency.upperBounds.size() ? Number(latency.upperBounds[i]) : "+Inf";
    Sample(out, "mtserver_card_latency_seconds_bucket", Label("le", bound),
           std::to_string(cumulative));
  }
  Sample(out, "mtserver_card_latency_seconds_sum", "", Number(latency.sumSeconds));
  Sample(out, "mtserver_card_latency_seconds_count", "", std::to_string(latency.count));

  Family(out, "mtserver_database_errors_total", "counter",
         "Database errors since the server started.");
  Sample(out, "mtserver_database_errors_total", "", std::to_string(status.database.errors));
  Family(out, "mtserver_database_up", "gauge",
         "1 when the database answered last, 0 after an error or before any answer.");
  Sample(out, "mtserver_database_up", "",
         status.database.reachability == Reachability::Reachable ? "1" : "0");
  Family(out, "mtserver_listener_restarts_total", "counter",
         "Restarts of the terminal listener by the error handler.");
  Sample(out, "mtserver_listener_restarts_total", "", std::to_string(status.listenerRestarts));
  ProcessFigures(out, status.process);
  return out;
}

}  // namespace mts
