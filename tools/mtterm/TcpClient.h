#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace mts::termsim {

// A non-blocking TCP client socket (POSIX), closed when the object goes.
class TcpClient {
 public:
  enum class ConnectResult { Connected, Failed, TimedOut };
  enum class ReadResult { Data, Nothing, Closed, Failed };

  TcpClient() = default;
  ~TcpClient();
  TcpClient(const TcpClient&) = delete;
  TcpClient& operator=(const TcpClient&) = delete;

  // Connects to host:port (a name or a numeric IPv4/IPv6 address), trying each address the
  // name resolves to. When `sourceAddress` is not empty the socket is bound to it first, so
  // the server sees that address. Gives up after `timeout`; on failure `error` says why.
  ConnectResult connect(const std::string& host, int port, const std::string& sourceAddress,
                        std::chrono::milliseconds timeout, std::string& error);

  // Appends the bytes that have arrived to `bytes` without waiting.
  ReadResult read(std::string& bytes, std::string& error);
  // Sends all of `bytes`, waiting for room in the socket buffer if needed.
  bool send(std::string_view bytes, std::string& error);

  // For poll(); -1 when not connected.
  int fd() const { return fd_; }

 private:
  void close();

  int fd_ = -1;
};

}  // namespace mts::termsim
