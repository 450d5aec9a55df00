#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "mtterm/ProtocolInterpreter.h"

namespace mts::bench {

// An answer is complete once the link has then been quiet this long: longer
// than the gaps inside one answer, shorter than a LED blink.
inline constexpr std::chrono::milliseconds kAnswerQuiet{20};

// One operator at a micro terminal, over TCP, seen through mtterm's protocol
// interpreter: connects, badges in, and posts cards one at a time, each sent
// when the previous answer has arrived. Keys go out as a person or a reader
// sends them, without waiting for their echoes. Used from one thread. Failures (link
// closed, no answer within the time-out) throw std::runtime_error.
class SimulatedTerminal {
 public:
  using Clock = std::chrono::steady_clock;

  // The server tells terminals apart by their address: each terminal number
  // connects from a loopback address of its own (127.1.x.y).
  SimulatedTerminal(int port, int terminalNumber, std::chrono::milliseconds timeout);
  // Connects from `sourceAddress` (dotted loopback address) instead.
  SimulatedTerminal(int port, const std::string& sourceAddress, std::chrono::milliseconds timeout);
  ~SimulatedTerminal();
  SimulatedTerminal(const SimulatedTerminal&) = delete;
  SimulatedTerminal& operator=(const SimulatedTerminal&) = delete;

  // Waits for the badge prompt, types the badge key by key and Enter, and
  // waits for the card prompt.
  void badgeIn(const std::string& badge);
  // What the terminal showed for one card.
  struct CardAnswer {
    std::chrono::nanoseconds latency{};  // from code and Enter to the answer's last byte
    bool refused = false;                // the screen said NAO ATUALIZADA
    std::string screen;                  // the screen's text once answered
    std::string detail;                  // a refused card: the screen after ","
  };
  // Sends the code and Enter in one write, as a barcode reader set to end
  // each code with Enter does, and waits until the screen shows the card's
  // answer. A refused card is answered too: its detail is asked for (","),
  // then the terminal is taken back to the card prompt (cancel, badge again),
  // untimed.
  CardAnswer postCard(const std::string& code);

  // Sends a card's code and Enter and returns without waiting for the answer
  // (waitFor reads it later).
  void submitCard(const std::string& code);
  // Sends one key and waits at most `wait` for the first byte the server
  // sends after it, the key's echo; nothing when none came in time. Whatever
  // was still due from earlier keys is read first.
  std::optional<std::chrono::nanoseconds> echoOf(char key, std::chrono::milliseconds wait);

  // Cancel (Esc): back to the badge prompt, the employee logged out.
  void logOut();

  // Waits until the screen shows `text`; false when the time-out passed first.
  bool waitFor(const std::string& text);
  const std::string& badge() const { return badge_; }

 private:
  SimulatedTerminal(int port, std::uint32_t sourceAddress, std::chrono::milliseconds timeout);
  void send(const std::string& bytes);
  // Reads what has arrived, waiting up to `until`; false when nothing came.
  bool receiveUntil(Clock::time_point until);
  bool screenShows(const std::string& text) const;
  // Sends "," and returns the screen once the detail of the refused `code`
  // has been drawn.
  std::string readDetail(const std::string& code);

  int socket_ = -1;
  std::chrono::milliseconds timeout_;
  termsim::ProtocolInterpreter interpreter_{termsim::Dialect::Vt100};
  std::string badge_;
};

}  // namespace mts::bench
