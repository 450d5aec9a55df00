#include "mtterm/TcpClient.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace mts::termsim {
namespace {

using Clock = std::chrono::steady_clock;

struct AddressListDeleter {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

AddressList resolve(const std::string& host, const char* service, int family, int flags,
                    std::string& error) {
  addrinfo hints{};
  hints.ai_family = family;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags;
  addrinfo* list = nullptr;
  const int rc = getaddrinfo(host.c_str(), service, &hints, &list);
  if (rc != 0) {
    error = "cannot resolve \"" + host + "\": " + gai_strerror(rc);
    return nullptr;
  }
  return AddressList(list);
}

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

TcpClient::~TcpClient() {
  close();
}

void TcpClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

TcpClient::ConnectResult TcpClient::connect(const std::string& host, int port,
                                            const std::string& sourceAddress,
                                            std::chrono::milliseconds timeout, std::string& error) {
  close();
  const auto deadline = Clock::now() + timeout;
  const std::string target = host + " port " + std::to_string(port);
  const AddressList targets = resolve(host, std::to_string(port).c_str(), AF_UNSPEC, 0, error);
  if (!targets) return ConnectResult::Failed;

  bool timedOut = false;
  error = "cannot connect to " + target + ": no usable address";
  for (const addrinfo* ai = targets.get(); ai != nullptr; ai = ai->ai_next) {
    AddressList source;
    if (!sourceAddress.empty()) {
      std::string sourceError;
      source = resolve(sourceAddress, nullptr, ai->ai_family, AI_PASSIVE, sourceError);
      if (!source) {
        error =
            "cannot use source address " + sourceAddress + " for " + target + ": " + sourceError;
        continue;
      }
    }
    const int fd = ::socket(ai->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
      error = std::string("cannot create a socket: ") + std::strerror(errno);
      continue;
    }
    fd_ = fd;
    if (source && ::bind(fd, source->ai_addr, source->ai_addrlen) != 0) {
      error = "cannot bind source address " + sourceAddress + ": " + std::strerror(errno);
      close();
      continue;
    }
    if (::connect(fd, ai->ai_addr, ai->ai_addrlen) != 0 && errno != EINPROGRESS) {
      error = "cannot connect to " + target + ": " + std::strerror(errno);
      close();
      continue;
    }
    pollfd waiting{fd, POLLOUT, 0};
    int ready = 0;
    do {
      ready = ::poll(&waiting, 1, remainingMs(deadline));
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
      error =
          "timed out connecting to " + target + " after " + std::to_string(timeout.count()) + " ms";
      timedOut = true;
      close();
      break;
    }
    int soError = 0;
    socklen_t length = sizeof soError;
    if (ready < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) != 0) {
      soError = errno;
    }
    if (soError != 0) {
      error = "cannot connect to " + target + ": " + std::strerror(soError);
      close();
      continue;
    }
    // Keys go out one by one as they are typed, like a terminal's.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    error.clear();
    return ConnectResult::Connected;
  }
  return timedOut ? ConnectResult::TimedOut : ConnectResult::Failed;
}

TcpClient::ReadResult TcpClient::read(std::string& bytes, std::string& error) {
  char buffer[4096];
  const std::size_t before = bytes.size();
  for (;;) {
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n == 0) return bytes.size() > before ? ReadResult::Data : ReadResult::Closed;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return bytes.size() > before ? ReadResult::Data : ReadResult::Nothing;
    }
    error = std::string("receive failed: ") + std::strerror(errno);
    return ReadResult::Failed;
  }
}

bool TcpClient::send(std::string_view bytes, std::string& error) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd waiting{fd_, POLLOUT, 0};
      ::poll(&waiting, 1, -1);
      continue;
    }
    error = std::string("send failed: ") + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace mts::termsim
