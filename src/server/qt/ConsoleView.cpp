#include "server/qt/ConsoleView.h"

#include "routines/Windows1252Unicode.h"

namespace mts {

void ConsoleView::WriteLine(std::FILE* stream, bool journal, LinePriority priority,
                            const std::string& text) {
  std::string line = text::Utf8FromWindows1252(text) + "\n";
  if (journal) {
    // The journal makes an entry of every line: each one of a message that
    // spans several (a database error) needs the priority.
    const std::string prefix = "<" + std::to_string(static_cast<int>(priority)) + ">";
    for (std::size_t end = line.size() - 1; end != 0; --end) {
      if (line[end - 1] == '\n') line.insert(end, prefix);
    }
    line.insert(0, prefix);
  }
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fflush(stream);
}

void ConsoleView::addReceived(const std::string& line) {
  addReceivedAt(LinePriority::Result, line);
}

void ConsoleView::addReceivedAt(LinePriority priority, const std::string& line) {
  WriteLine(output_, journal_.output, priority, line);
}

void ConsoleView::addTerminalListEntry(const std::string& entry) {
  WriteLine(output_, journal_.output, LinePriority::Result, "Terminais Conectados: " + entry);
}

void ConsoleView::setStatusPanel(int panel, const std::string& text) {
  (void)panel;
  WriteLine(output_, journal_.output, LinePriority::Result, text);
}

void ConsoleView::showError(const std::string& message) {
  WriteLine(errors_, journal_.errors, LinePriority::Error, message);
}

void ConsoleView::showNotice(const std::string& line) {
  WriteLine(errors_, journal_.errors, LinePriority::Warning, line);
}

}  // namespace mts
