#include "server/status/StatusPage.h"

#include "routines/Windows1252Unicode.h"
#include "server/status/StatusProblems.h"
#include "server/status/StatusText.h"

namespace mts {
namespace {

// The page is composed in Windows-1252, like every text of the server, and
// converted to UTF-8 once at the end.

constexpr const char* kStyle = R"(
body{font-family:system-ui,Arial,sans-serif;margin:0;padding:1em;background:#f4f5f7;color:#222}
h1{font-size:1.3em;margin:0 0 .2em}h2{font-size:1.1em;margin:1.2em 0 .4em}
.meta{color:#555;margin:0}
.box{background:#fff;border-radius:6px;padding:.6em .9em;box-shadow:0 1px 2px #0002}
.good{border-left:6px solid #2a8a3a}.bad{border-left:6px solid #c0392b}.unknown{border-left:6px solid #999}
table{border-collapse:collapse;width:100%;background:#fff;box-shadow:0 1px 2px #0002}
th,td{padding:.35em .5em;border-bottom:1px solid #e3e3e3;text-align:left;vertical-align:top}
th{background:#e9ecef;font-weight:600}
tr.offline td{background:#fdecea}
.down{color:#b03020;font-weight:700}
#problems ul{margin:.3em 0 0;padding-left:1.2em}
.posted{color:#1f7a30;font-weight:600}.refused{color:#b03020;font-weight:600}
.when{color:#777;font-size:.85em}
footer{margin-top:1.5em;color:#666;font-size:.9em}
@media (max-width:700px){
 thead{display:none}
 table,tbody,tr,td{display:block;width:auto}
 tr{margin:0 0 .8em;border-radius:6px;box-shadow:0 1px 2px #0003;background:#fff}
 td{display:flex;justify-content:space-between;gap:1em;border-bottom:1px solid #eee}
 td::before{content:attr(data-label);font-weight:600;color:#444}
}
)";

std::string When(const std::optional<StatusTime>& moment, StatusTime now) {
  if (!moment) return "";
  return " <span class=\"when\">" + ShortLocalTime(*moment, now) + "</span>";
}

// The content is one span: on a phone the cell is a row of two flex items,
// its label and its content.
std::string Cell(const char* label, const std::string& html) {
  return std::string("<td data-label=\"") + label + "\"><span>" + html + "</span></td>";
}

std::string Counts(const CardCounts& counts) {
  return "<span class=\"posted\">" + std::to_string(counts.posted) +
         "</span> / <span class=\"refused\">" + std::to_string(counts.refused) + "</span>";
}

std::string Header(const StatusSnapshot& status) {
  std::string port = "porta " + std::to_string(status.terminalPort) +
                     (status.listening ? " escutando" : " fechada");
  return "<h1>Servidor de Micro Terminais</h1><p class=\"meta\">vers\xE3o " +
         HtmlText(status.version) + " &middot; iniciado " +
         ShortLocalTime(status.startedAt, status.now) + " &middot; " + port +
         " &middot; atualizado " + ShortLocalTime(status.now, status.now) + "</p>";
}

std::string Problems(const StatusSnapshot& status) {
  const std::vector<StatusProblem> problems = StatusProblems(status);
  if (problems.empty()) {
    return "<div class=\"box good\" id=\"problems\"><b>Nenhum problema.</b></div>";
  }
  std::string html = "<div class=\"box bad\" id=\"problems\"><b>Problemas</b><ul>";
  for (const StatusProblem& problem : problems) {
    html += "<li class=\"" + problem.kind + "\">" + HtmlText(problem.text) + "</li>";
  }
  return html + "</ul></div>";
}

std::string Database(const StatusSnapshot& status) {
  const DatabaseStatus& database = status.database;
  std::string css = "unknown";
  std::string state = "ainda n\xE3o consultado";
  if (database.reachability == Reachability::Reachable) {
    css = "good";
    state = "acess\xEDvel";
  } else if (database.reachability == Reachability::Unreachable) {
    css = "bad";
    state = "inacess\xEDvel";
  }
  std::string html =
      "<h2>Banco de dados</h2><div class=\"box " + css + "\" id=\"database\"><b>" + state + "</b>";
  if (database.lastErrorAt) {
    html += "<br>\xDAltimo erro" + When(database.lastErrorAt, status.now) + ": " +
            HtmlText(database.lastError);
  }
  if (status.lastRestartAt) {
    html += "<br>Conex\xE3o reiniciada " + std::to_string(status.listenerRestarts) + " vez(es)" +
            When(status.lastRestartAt, status.now) + ": " + HtmlText(status.lastRestartReason);
  }
  return html + "</div>";
}

// Whether the terminal is connected, and since when it is or is not.
std::string Connection(const TerminalStatus& terminal, StatusTime now) {
  if (terminal.connected) {
    if (!terminal.connectedSince) return "conectado";
    return "conectado desde " + ShortLocalTime(*terminal.connectedSince, now);
  }
  if (terminal.number < 0) return "<b class=\"down\">nunca conectou</b>";
  if (!terminal.disconnectedSince) return "<b class=\"down\">desconectado</b>";
  return "<b class=\"down\">desconectado h\xE1 " + TimeSince(*terminal.disconnectedSince, now) +
         "</b>" + When(terminal.disconnectedSince, now);
}

std::string NameAndPlace(const TerminalStatus& terminal) {
  std::string html;
  if (!terminal.name.empty()) html = "<b>" + HtmlText(terminal.name) + "</b>";
  if (!terminal.place.empty()) {
    html += " <span class=\"when\">" + HtmlText(terminal.place) + "</span>";
  }
  return html;
}

std::string TerminalRow(const TerminalStatus& terminal, StatusTime now) {
  std::string state;
  if (terminal.connected) {
    state = terminal.waitingCard ? "aguardando ficha" : "aguardando crach\xE1";
  }
  std::string result = HtmlText(terminal.lastResult);
  if (!terminal.lastResult.empty()) result += When(terminal.lastResultAt, now);
  std::string key = HtmlText(terminal.lastKey);
  if (terminal.lastKeyAt) key += When(terminal.lastKeyAt, now);
  return std::string("<tr") + (terminal.connected ? "" : " class=\"offline\"") + ">" +
         Cell("N\xBA", terminal.number < 0 ? "" : std::to_string(terminal.number)) +
         Cell("Terminal", NameAndPlace(terminal)) +
         Cell("Endere\xE7o", HtmlText(terminal.address)) +
         Cell("LED", terminal.hasLeds ? "sim" : "n\xE3o") +
         Cell("Conex\xE3o", Connection(terminal, now)) + Cell("Estado", state) +
         Cell("Funcion\xE1rio", HtmlText(terminal.employeeName)) + Cell("\xDAltima tecla", key) +
         Cell("\xDAltimo resultado", result) + Cell("Hoje", Counts(terminal.today)) +
         Cell("\xDAltima hora", Counts(terminal.lastHour)) + "</tr>";
}

std::string Terminals(const StatusSnapshot& status) {
  int connected = 0;
  for (const TerminalStatus& terminal : status.terminals) connected += terminal.connected ? 1 : 0;
  std::string html = "<h2>Terminais: " + std::to_string(connected) + " de " +
                     std::to_string(status.terminals.size()) + " conectados</h2>";
  if (status.terminals.empty()) return html + "<p class=\"box\">Nenhum terminal conectou.</p>";
  html +=
      "<table id=\"terminals\"><thead><tr><th>N\xBA</th><th>Terminal</th><th>Endere\xE7o</th>"
      "<th>LED</th><th>Conex\xE3o</th><th>Estado</th><th>Funcion\xE1rio</th><th>\xDAltima "
      "tecla</th>"
      "<th>\xDAltimo resultado</th><th>Hoje (lan\xE7"
      "adas / recusadas)</th>"
      "<th>\xDAltima hora</th></tr></thead><tbody>";
  for (const TerminalStatus& terminal : status.terminals) {
    html += TerminalRow(terminal, status.now);
  }
  return html + "</tbody></table>";
}

std::string Sectors(const StatusSnapshot& status) {
  std::string html = "<h2>Fichas por setor</h2>";
  if (status.sectors.empty()) return html + "<p class=\"box\">Nenhuma ficha hoje.</p>";
  html +=
      "<table id=\"sectors\"><thead><tr><th>Setor</th><th>Hoje (lan\xE7"
      "adas / recusadas)</th>"
      "<th>\xDAltima hora</th></tr></thead><tbody>";
  for (const SectorStatus& sector : status.sectors) {
    html += "<tr>" + Cell("Setor", HtmlText(sector.sector)) + Cell("Hoje", Counts(sector.today)) +
            Cell("\xDAltima hora", Counts(sector.lastHour)) + "</tr>";
  }
  return html + "</tbody></table>";
}

}  // namespace

std::string StatusPage(const StatusSnapshot& status) {
  const std::string page =
      "<!DOCTYPE html>\n<html lang=\"pt-BR\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
      "<meta http-equiv=\"refresh\" content=\"" +
      std::to_string(kStatusPageRefreshSeconds) + "\"><title>Micro Terminais</title><style>" +
      kStyle + "</style></head><body>" + Header(status) + Problems(status) + Database(status) +
      Terminals(status) + Sectors(status) + "<footer>A p\xE1gina se atualiza a cada " +
      std::to_string(kStatusPageRefreshSeconds) +
      " s &middot; <a href=\"/status\">JSON</a> &middot; <a href=\"/metrics\">m\xE9tricas</a>"
      "</footer></body></html>\n";
  return text::Utf8FromWindows1252(page);
}

}  // namespace mts
