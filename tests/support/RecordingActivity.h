#pragma once

#include <string>
#include <vector>

#include "server/ServerActivity.h"

namespace mts::test {

// Records every activity report as one line ("key 1 5", "card 0 30 F posted
// FICHA ATUALIZADA"), and the card results whole.
class RecordingActivity : public ServerActivity {
 public:
  void terminalConnected(int terminal, const std::string& address) override {
    calls.push_back("connected " + std::to_string(terminal) + " " + address);
  }
  void terminalDisconnected(int terminal) override {
    calls.push_back("disconnected " + std::to_string(terminal));
  }
  void keyReceived(int terminal, const std::string& key) override {
    calls.push_back("key " + std::to_string(terminal) + " " + key);
  }
  void badgeResult(int terminal, bool accepted, const std::string& shownText) override {
    calls.push_back("badge " + std::to_string(terminal) + (accepted ? " accepted" : " refused") +
                    (shownText.empty() ? "" : " " + shownText));
  }
  void cardResult(const CardResult& result) override {
    cards.push_back(result);
    calls.push_back("card " + std::to_string(result.terminal) + " " + result.sector + " " +
                    result.cardKind + (result.posted ? " posted " : " refused ") +
                    result.shownText);
  }
  void databaseReachable() override { calls.push_back("database reachable"); }
  void databaseError(const std::string& message, bool connectionOpen) override {
    calls.push_back("database error " + message + (connectionOpen ? " (open)" : " (closed)"));
  }
  void listenerRestarted(const std::string& message, bool listening) override {
    calls.push_back("restarted " + message + (listening ? " (listening)" : " (closed)"));
  }

  std::vector<std::string> calls;
  std::vector<CardResult> cards;
};

}  // namespace mts::test
