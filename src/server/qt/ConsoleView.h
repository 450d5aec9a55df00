#pragma once

#include <cstdio>

#include "server/ServerView.h"

namespace mts {

// Which of the console's streams are the journal.
struct JournalStreams {
  bool output = false;
  bool errors = false;
};

// The view of a run without window: every received-data line, terminal list
// entry and status text goes to standard output, every error box and notice
// to standard error, one line each, as UTF-8, flushed at once. A stream that
// is the journal gets each line's syslog priority in front ("<4>"), which
// the journal takes off and files the line under; elsewhere lines go out as
// they are.
class ConsoleView final : public ServerView {
 public:
  explicit ConsoleView(std::FILE* output = stdout, std::FILE* errors = stderr,
                       JournalStreams journal = {})
      : output_(output), errors_(errors), journal_(journal) {}

  void addReceived(const std::string& line) override;
  void addReceivedAt(LinePriority priority, const std::string& line) override;
  // "Terminais Conectados: " followed by the entry.
  void addTerminalListEntry(const std::string& entry) override;
  // The panel's text as it is ("Porta IP: 1001").
  void setStatusPanel(int panel, const std::string& text) override;
  void showError(const std::string& message) override;
  void showNotice(const std::string& line) override;

 private:
  static void WriteLine(std::FILE* stream, bool journal, LinePriority priority,
                        const std::string& text);

  std::FILE* output_;
  std::FILE* errors_;
  JournalStreams journal_;
};

}  // namespace mts
