#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/TerminalConnection.h"

namespace mts::test {

// Everything that reached the wire or the pump, in order: the bytes of each
// write as one entry, each pause as "<pause N>".
using Journal = std::vector<std::string>;

// A terminal connection that records each write as one entry.
class RecordingConnection : public TerminalConnection {
 public:
  explicit RecordingConnection(std::string address, Journal* journal = nullptr)
      : address_(std::move(address)), journal_(journal) {}

  std::string remoteAddress() const override { return address_; }
  bool isOpen() const override { return open_; }
  void send(std::string_view bytes) override {
    if (!open_) return;
    writes.emplace_back(bytes);
    if (journal_ != nullptr) journal_->emplace_back(bytes);
  }

  void close() { open_ = false; }

  std::vector<std::string> writes;

 private:
  std::string address_;
  Journal* journal_;
  bool open_ = true;
};

inline std::shared_ptr<RecordingConnection> MakeConnection(const std::string& address,
                                                           Journal* journal = nullptr) {
  return std::make_shared<RecordingConnection>(address, journal);
}

// An event pump that records its pauses and, when given one, runs a handler in
// each pause the way the event loop runs pending events.
class RecordingPump : public EventPump {
 public:
  explicit RecordingPump(Journal* journal = nullptr) : journal_(journal) {}

  void pause(int milliseconds) override {
    pauses.push_back(milliseconds);
    if (journal_ != nullptr) journal_->push_back("<pause " + std::to_string(milliseconds) + ">");
    if (onPause) onPause(static_cast<int>(pauses.size()));
  }

  std::vector<int> pauses;
  // Called with the 1-based number of the pause.
  std::function<void(int pauseNumber)> onPause;

 private:
  Journal* journal_;
};

// Bytes written as hexadecimal pairs separated by blanks: "1B 5B 48".
inline std::string Hex(std::string_view pairs) {
  std::string bytes;
  std::size_t i = 0;
  while (i < pairs.size()) {
    if (pairs[i] == ' ') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(pairs.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

// The text with every byte outside printable ASCII written as \xNN, for test
// names and messages.
inline std::string Printable(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(kDigits[byte >> 4]);
      out.push_back(kDigits[byte & 0xF]);
    }
  }
  return out;
}

}  // namespace mts::test
