#include "mtterm/ServerLink.h"

#include <poll.h>

#include <cerrno>
#include <cstring>

namespace mts::termsim {

ServerLink::ServerLink(TcpClient& client, ProtocolInterpreter& interpreter, RawTrace* trace)
    : client_(client), interpreter_(interpreter), trace_(trace) {}

ServerLink::Event ServerLink::takeAvailable() {
  std::string bytes;
  const auto result = client_.read(bytes, error_);
  if (!bytes.empty()) {
    if (trace_) trace_->received(bytes);
    interpreter_.feed(bytes);
  }
  switch (result) {
    case TcpClient::ReadResult::Data:
      return Event::Data;
    case TcpClient::ReadResult::Nothing:
      return Event::Timeout;
    case TcpClient::ReadResult::Closed:
      error_ = "the server closed the connection";
      return Event::Closed;
    case TcpClient::ReadResult::Failed:
      break;
  }
  return Event::Failed;
}

ServerLink::Event ServerLink::receiveUntil(Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return takeAvailable();
    pollfd waiting{client_.fd(), POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(left));
    if (ready < 0 && errno != EINTR) {
      error_ = std::string("poll failed: ") + std::strerror(errno);
      return Event::Failed;
    }
    if (ready > 0) {
      const Event event = takeAvailable();
      // A wake-up with nothing to read is spurious: keep waiting.
      if (event != Event::Timeout) return event;
    }
  }
}

bool ServerLink::send(std::string_view bytes) {
  if (trace_) trace_->sent(bytes);
  return client_.send(bytes, error_);
}

}  // namespace mts::termsim
