#include "SimulatedTerminal.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace mts::bench {

namespace {

constexpr char kEnter = '\r';
constexpr char kCancel = '\x1B';
// Between two keys of a quick typist.
constexpr std::chrono::milliseconds kKeyGap{2};

}  // namespace

namespace {

std::uint32_t terminalAddress(int terminalNumber) {
  return (127u << 24) | (1u << 16) | static_cast<std::uint32_t>(terminalNumber / 250) << 8 |
         static_cast<std::uint32_t>(terminalNumber % 250 + 1);
}

std::uint32_t parsedAddress(const std::string& dotted) {
  in_addr address{};
  if (::inet_pton(AF_INET, dotted.c_str(), &address) != 1) {
    throw std::runtime_error("not an IPv4 address: " + dotted);
  }
  return ntohl(address.s_addr);
}

}  // namespace

SimulatedTerminal::SimulatedTerminal(int port, int terminalNumber,
                                     std::chrono::milliseconds timeout)
    : SimulatedTerminal(port, terminalAddress(terminalNumber), timeout) {}

SimulatedTerminal::SimulatedTerminal(int port, const std::string& sourceAddress,
                                     std::chrono::milliseconds timeout)
    : SimulatedTerminal(port, parsedAddress(sourceAddress), timeout) {}

SimulatedTerminal::SimulatedTerminal(int port, std::uint32_t sourceAddress,
                                     std::chrono::milliseconds timeout)
    : timeout_(timeout) {
  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (socket_ < 0) throw std::runtime_error("socket failed");
  int one = 1;
  ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sockaddr_in source{};
  source.sin_family = AF_INET;
  source.sin_addr.s_addr = htonl(sourceAddress);
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0) {
    ::close(socket_);
    throw std::runtime_error("cannot bind the terminal's address");
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(socket_);
    throw std::runtime_error("cannot connect to the server");
  }
}

SimulatedTerminal::~SimulatedTerminal() {
  ::close(socket_);
}

void SimulatedTerminal::badgeIn(const std::string& badge) {
  badge_ = badge;
  if (!waitFor("CRACHA:")) throw std::runtime_error("no badge prompt");
  // Typed key by key, as an operator does: one write per key, without waiting
  // for the echoes, and Enter right after the last digit; the server may read
  // several keys at once.
  for (char key : badge) {
    send(std::string(1, key));
    std::this_thread::sleep_for(kKeyGap);
  }
  send(std::string(1, kEnter));
  if (!waitFor("FICHA:"))
    throw std::runtime_error("badge " + badge + " not accepted; the screen shows \"" +
                             interpreter_.screen().text() + "\"");
}

SimulatedTerminal::CardAnswer SimulatedTerminal::postCard(const std::string& code) {
  // A reader set to end each code with Enter sends both in one write. The
  // previous result stays on the screen until the answer's redraw clears it.
  const Clock::time_point enter = Clock::now();
  send(code + kEnter);
  const Clock::time_point deadline = enter + timeout_;
  Clock::time_point lastByte = enter;
  bool answered = false;
  // The answer is complete when its text is on the screen and the link has
  // then been quiet for a moment; its end is the last byte before the pause.
  while (true) {
    const Clock::time_point until = answered ? Clock::now() + kAnswerQuiet : deadline;
    if (!receiveUntil(until)) {
      if (answered) break;
      throw std::runtime_error("no answer to card " + code);
    }
    lastByte = Clock::now();
    // "ATUALIZADA", or "ATUALIZADO" for a box label.
    answered = screenShows("ATUALIZAD");
  }
  CardAnswer answer{lastByte - enter, screenShows("NAO ATUALIZADA"), interpreter_.screen().text(),
                    ""};
  if (answer.refused) {
    answer.detail = readDetail(code);
    send(std::string(1, kCancel));
    badgeIn(badge_);
  }
  return answer;
}

std::string SimulatedTerminal::readDetail(const std::string& code) {
  send(",");
  // The detail clears the screen first: it is complete once the typed code
  // has gone and the link has been quiet for a moment.
  const Clock::time_point deadline = Clock::now() + timeout_;
  bool drawn = false;
  while (true) {
    const Clock::time_point until = drawn ? Clock::now() + kAnswerQuiet : deadline;
    if (!receiveUntil(until)) {
      if (drawn) break;
      throw std::runtime_error("no detail after a refused card");
    }
    drawn = !screenShows("FICHA:" + code);
  }
  return interpreter_.screen().text();
}

void SimulatedTerminal::submitCard(const std::string& code) {
  send(code + kEnter);
}

std::optional<std::chrono::nanoseconds> SimulatedTerminal::echoOf(char key,
                                                                  std::chrono::milliseconds wait) {
  while (receiveUntil(Clock::now() + std::chrono::milliseconds(1))) {
  }
  const Clock::time_point sent = Clock::now();
  send(std::string(1, key));
  if (!receiveUntil(sent + wait)) return std::nullopt;
  return Clock::now() - sent;
}

void SimulatedTerminal::logOut() {
  send(std::string(1, kCancel));
}

bool SimulatedTerminal::waitFor(const std::string& text) {
  const Clock::time_point deadline = Clock::now() + timeout_;
  while (!screenShows(text)) {
    if (!receiveUntil(deadline)) return false;
  }
  return true;
}

void SimulatedTerminal::send(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) throw std::runtime_error("the server closed the link");
    sent += static_cast<std::size_t>(n);
  }
}

bool SimulatedTerminal::receiveUntil(Clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  if (left.count() <= 0) return false;
  pollfd descriptor{socket_, POLLIN, 0};
  if (::poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) return false;
  char buffer[4096];
  const ssize_t n = ::recv(socket_, buffer, sizeof buffer, 0);
  if (n <= 0) throw std::runtime_error("the server closed the link");
  interpreter_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
  return true;
}

bool SimulatedTerminal::screenShows(const std::string& text) const {
  return interpreter_.screen().text().find(text) != std::string::npos;
}

}  // namespace mts::bench
