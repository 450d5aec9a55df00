#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mts {

// Watches the bytes a client sends to the status listener, before the HTTP
// server parses them, and stops what the listener must never buffer or
// answer: a request head (request line and headers) longer than the limit, a
// request line that is not "METHOD /target HTTP/1.x", and any request with a
// body (the listener is read-only, so nothing it serves takes one). Requests
// may follow each other on one connection.
class HttpRequestGuard {
 public:
  // A refusal: the status line to send before closing the connection.
  struct Refusal {
    int status = 0;  // 400, 413, 414 or 431
    std::string reason;
  };

  explicit HttpRequestGuard(std::size_t headLimit = 16 * 1024) : headLimit_(headLimit) {}

  // Takes the next bytes of the connection. Returns true while they may go on
  // to the HTTP server; false once the connection is refused (see refusal()),
  // and from then on for every later call.
  bool feed(std::string_view bytes);

  bool refused() const { return refusal_.status != 0; }
  const Refusal& refusal() const { return refusal_; }
  // Complete request heads seen so far.
  int requests() const { return requests_; }
  // True while part of a request head has arrived but not its end.
  bool inRequest() const { return !head_.empty(); }

  // The whole response for a refusal: status line, a short text body, and
  // "Connection: close".
  static std::string RefusalResponse(const Refusal& refusal);

 private:
  void Refuse(int status, std::string reason);
  void CheckHead();

  std::size_t headLimit_;
  std::string head_;
  int requests_ = 0;
  Refusal refusal_;
};

}  // namespace mts
