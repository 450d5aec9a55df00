#include "server/qt/ConsoleView.h"

#include "server/qt/Windows1252.h"

namespace mts {

void ConsoleView::WriteLine(std::FILE* stream, bool journal, LinePriority priority,
                            const std::string& text) {
  std::string line;
  if (journal) line = "<" + std::to_string(static_cast<int>(priority)) + ">";
  line += Windows1252ToUtf8(text) + "\n";
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
