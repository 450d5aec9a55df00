#pragma once

#include <cstdio>

#include "server/ServerView.h"

namespace mts {

// The view of a run without window: every received-data line, terminal list
// entry and status text goes to standard output, every error box to standard
// error, one line each, as UTF-8, flushed at once.
class ConsoleView final : public ServerView {
 public:
  explicit ConsoleView(std::FILE* output = stdout, std::FILE* errors = stderr)
      : output_(output), errors_(errors) {}

  void addReceived(const std::string& line) override;
  // "Terminais Conectados: " followed by the entry.
  void addTerminalListEntry(const std::string& entry) override;
  // The panel's text as it is ("Porta IP: 1001").
  void setStatusPanel(int panel, const std::string& text) override;
  void showError(const std::string& message) override;
  void showNotice(const std::string& line) override;

 private:
  static void WriteLine(std::FILE* stream, const std::string& text);

  std::FILE* output_;
  std::FILE* errors_;
};

}  // namespace mts
