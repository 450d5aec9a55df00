#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>

namespace mts::termsim {

// Formats one chunk of traffic as lines of up to 16 bytes: the time since the trace
// started, the direction ("<<" received, ">>" sent), the bytes in hex and, between bars,
// the printable ASCII ones as themselves and the rest as ".":
//   +    412 ms << 1B 5B 48 1B 5B 4A 43 52 41 43 48 41 3A           |.[H.[JCRACHA:|
std::string formatTraffic(long long elapsedMs, std::string_view direction, std::string_view bytes);

// Writes every chunk received or sent to a stream as it happens. The stream must outlive
// the trace.
class RawTrace {
 public:
  explicit RawTrace(std::ostream& out);

  void received(std::string_view bytes) { write("<<", bytes); }
  void sent(std::string_view bytes) { write(">>", bytes); }

 private:
  void write(std::string_view direction, std::string_view bytes);

  std::ostream& out_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace mts::termsim
