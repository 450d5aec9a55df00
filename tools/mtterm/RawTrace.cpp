#include "mtterm/RawTrace.h"

#include <cstdio>
#include <string>

namespace mts::termsim {
namespace {
constexpr std::size_t kBytesPerLine = 16;
}

std::string formatTraffic(long long elapsedMs, std::string_view direction, std::string_view bytes) {
  std::string out;
  for (std::size_t start = 0; start < bytes.size(); start += kBytesPerLine) {
    const std::string_view line = bytes.substr(start, kBytesPerLine);
    char prefix[48];
    std::snprintf(prefix, sizeof prefix, "+%7lld ms ", elapsedMs);
    out += prefix;
    out += direction;
    std::string printable;
    for (char c : line) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned char>(c));
      out += hex;
      printable += (c >= 0x20 && c <= 0x7E) ? c : '.';
    }
    out.append(3 * (kBytesPerLine - line.size()), ' ');
    out += "  |" + printable + "|\n";
  }
  return out;
}

RawTrace::RawTrace(std::ostream& out) : out_(out), start_(std::chrono::steady_clock::now()) {}

void RawTrace::write(std::string_view direction, std::string_view bytes) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start_);
  out_ << formatTraffic(elapsed.count(), direction, bytes) << std::flush;
}

}  // namespace mts::termsim
