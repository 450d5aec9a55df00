#include "server/KeysOfRead.h"

namespace mts {

namespace {

constexpr char kNul = '\x00';
constexpr char kBackspace = '\x08';
constexpr char kEnter = '\r';
constexpr char kEscape = '\x1B';
constexpr char kDelete = '\x7F';

unsigned char Byte(char c) {
  return static_cast<unsigned char>(c);
}

bool IsControl(char c) {
  return Byte(c) < 0x20 || c == kDelete;
}

bool IsKeyOfItsOwn(char c) {
  return c == kNul || c == kBackspace || c == kEnter || c == kDelete;
}

bool IsFinalByte(char c) {
  return Byte(c) >= 0x40 && Byte(c) <= 0x7E;
}

// Where the function key that starts with ESC at `start` ends: ESC "[", its
// parameter and intermediate bytes (20 to 3F), then one final byte (40 to 7E);
// or ESC "O" and one final byte. A byte that fits neither ends it early, and
// is then handled as a key of its own; so does the end of the read.
std::size_t FunctionKeyEnd(std::string_view read, std::size_t start) {
  std::size_t end = start + 2;
  if (read[start + 1] == '[') {
    while (end < read.size() && Byte(read[end]) >= 0x20 && Byte(read[end]) <= 0x3F) ++end;
  }
  if (end < read.size() && IsFinalByte(read[end])) ++end;
  return end;
}

}  // namespace

std::vector<std::string_view> KeysOfRead(std::string_view read) {
  std::vector<std::string_view> keys;
  std::size_t at = 0;
  while (at < read.size()) {
    const char c = read[at];
    if (IsKeyOfItsOwn(c)) {
      keys.push_back(read.substr(at, 1));
      ++at;
    } else if (c == kEscape) {
      const bool startsFunctionKey =
          at + 1 < read.size() && (read[at + 1] == '[' || read[at + 1] == 'O');
      const std::size_t end = startsFunctionKey ? FunctionKeyEnd(read, at) : at + 1;
      keys.push_back(read.substr(at, end - at));
      at = end;
    } else if (IsControl(c)) {
      ++at;
    } else {
      std::size_t end = at + 1;
      while (end < read.size() && !IsControl(read[end])) ++end;
      keys.push_back(read.substr(at, end - at));
      at = end;
    }
  }
  return keys;
}

bool IsFunctionKey(std::string_view key) {
  return key.size() > 1 && key.front() == kEscape;
}

}  // namespace mts
