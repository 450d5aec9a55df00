#include "server/qt/ConsoleView.h"

#include "server/qt/Windows1252.h"

namespace mts {

void ConsoleView::WriteLine(std::FILE* stream, const std::string& text) {
  const std::string line = Windows1252ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fflush(stream);
}

void ConsoleView::addReceived(const std::string& line) {
  WriteLine(output_, line);
}

void ConsoleView::addTerminalListEntry(const std::string& entry) {
  WriteLine(output_, "Terminais Conectados: " + entry);
}

void ConsoleView::setStatusPanel(int panel, const std::string& text) {
  (void)panel;
  WriteLine(output_, text);
}

void ConsoleView::showError(const std::string& message) {
  WriteLine(errors_, message);
}

void ConsoleView::showNotice(const std::string& line) {
  WriteLine(errors_, line);
}

}  // namespace mts
