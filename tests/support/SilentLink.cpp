#include "support/SilentLink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace mts::test {
namespace {

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

// One client's connection and, when relaying, its connection to the server.
struct Relay {
  int client = -1;
  int server = -1;
  int answersPassed = 0;
  std::string held;  // the server's bytes kept back while silent
};

void writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written <= 0) return;  // the peer is gone: the test sees that on its side
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

}  // namespace

SilentLink::SilentLink() : SilentLink(0) {}

SilentLink::SilentLink(int serverPort) : serverPort_(serverPort) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::pipe(wake_) != 0) {
    throw std::runtime_error("cannot open the silent link's port");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { run(); });
}

SilentLink::~SilentLink() {
  ::write(wake_[1], "x", 1);
  thread_.join();
  ::close(listener_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

void SilentLink::run() {
  std::vector<Relay> relays;
  char buffer[65536];
  for (;;) {
    std::vector<pollfd> watched = {{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
    for (const Relay& relay : relays) {
      watched.push_back({relay.client, POLLIN, 0});
      watched.push_back({relay.server, relay.server >= 0 ? short(POLLIN) : short(0), 0});
    }
    if (::poll(watched.data(), watched.size(), 50) < 0) continue;
    if (watched[0].revents != 0) break;
    for (std::size_t i = 0; i < relays.size(); ++i) {
      Relay& relay = relays[i];
      const pollfd& fromClient = watched[2 + 2 * i];
      const pollfd& fromServer = watched[3 + 2 * i];
      bool open = true;
      // A silent host reads what it is sent (the kernel would) and says nothing.
      if (fromClient.revents != 0) {
        const ssize_t n = ::read(relay.client, buffer, sizeof buffer);
        open = n > 0;
        if (open && relay.server >= 0) writeAll(relay.server, buffer, static_cast<std::size_t>(n));
      }
      if (open && fromServer.revents != 0) {
        const ssize_t n = ::read(relay.server, buffer, sizeof buffer);
        open = n > 0;
        if (open) relay.held.append(buffer, static_cast<std::size_t>(n));
      }
      if (open && !relay.held.empty() && (relay.answersPassed == 0 || released_)) {
        writeAll(relay.client, relay.held.data(), relay.held.size());
        relay.held.clear();
        ++relay.answersPassed;
      }
      if (!open) {
        ::close(relay.client);
        if (relay.server >= 0) ::close(relay.server);
        relay.client = -1;
      }
    }
    std::erase_if(relays, [](const Relay& relay) { return relay.client < 0; });
    if (watched[1].revents != 0) {
      Relay relay;
      relay.client = ::accept(listener_, nullptr, nullptr);
      if (relay.client >= 0 && serverPort_ != 0) {
        relay.server = ::socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in server = loopback(serverPort_);
        ::connect(relay.server, reinterpret_cast<const sockaddr*>(&server), sizeof server);
      }
      if (relay.client >= 0) relays.push_back(relay);
    }
  }
  for (const Relay& relay : relays) {
    ::close(relay.client);
    if (relay.server >= 0) ::close(relay.server);
  }
}

}  // namespace mts::test
