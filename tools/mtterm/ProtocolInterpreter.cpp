#include "mtterm/ProtocolInterpreter.h"

#include <algorithm>
#include <vector>

namespace mts::termsim {
namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kBs = 0x08;
constexpr char kLf = 0x0A;
constexpr char kCr = 0x0D;
constexpr char kEsc = 0x1B;
constexpr char kDel = 0x7F;

// Numbers saturate here, far beyond the display, so no value overflows.
constexpr int kMaxNumber = 9999;
// No frame the terminals know is longer; a longer one is read to its end, keeping no more.
constexpr std::size_t kMaxFrame = 4096;
// An escape sequence longer than this is not one the terminals know.
constexpr std::size_t kMaxSequence = 64;

bool isControl(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b < 0x20 || b == static_cast<unsigned char>(kDel);
}

bool isDigit(char byte) {
  return byte >= '0' && byte <= '9';
}

int parseNumber(std::string_view digits) {
  int value = 0;
  for (char d : digits) value = std::min(value * 10 + (d - '0'), kMaxNumber);
  return value;
}

}  // namespace

ProtocolInterpreter::ProtocolInterpreter(Dialect dialect) : dialect_(dialect) {}

void ProtocolInterpreter::feed(std::string_view bytes) {
  for (char byte : bytes) step(byte);
}

void ProtocolInterpreter::step(char byte) {
  switch (state_) {
    case State::Ground:
      return ground(byte);
    case State::Escape:
      return escape(byte);
    case State::Csi:
      return csi(byte);
    case State::LedColour:
      return ledColour(byte);
    case State::LedLevel:
      return ledLevel(byte);
    case State::Frame:
      return frame(byte);
  }
}

void ProtocolInterpreter::ground(char byte) {
  if (byte == kEsc) {
    sequence_.assign(1, byte);
    state_ = State::Escape;
  } else if (byte == kStx && dialect_ == Dialect::StxEtx) {
    sequence_.assign(1, byte);
    malformed_ = false;
    state_ = State::Frame;
  } else if (byte == kBs) {
    screen_.backspace();
  } else if (byte == kCr) {
    screen_.carriageReturn();
  } else if (byte == kLf) {
    screen_.lineFeed();
  } else if (isControl(byte)) {
    unrecognised(std::string_view(&byte, 1));
  } else {
    screen_.put(byte);
  }
}

void ProtocolInterpreter::escape(char byte) {
  if (byte != '[') return abandonBrokenBy(byte);
  sequence_ += byte;
  malformed_ = false;
  state_ = State::Csi;
}

void ProtocolInterpreter::csi(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  if (b < 0x20 || b > 0x7E) return abandonBrokenBy(byte);
  const bool firstAfterBracket = sequence_.size() == 2;
  if (byte == 'l' && firstAfterBracket) {
    sequence_ += byte;
    state_ = State::LedColour;
  } else if (b >= 0x40) {
    sequence_ += byte;
    runCsi(byte);
  } else if (sequence_.size() >= kMaxSequence) {
    // Too long for any sequence the terminals know: read on to its end, keeping no more.
    malformed_ = true;
  } else {
    // Numbers are read from sequence_ when the final byte arrives; private markers and
    // intermediate bytes belong to sequences the terminals do not have.
    sequence_ += byte;
    if (!isDigit(byte) && byte != ';') malformed_ = true;
  }
}

void ProtocolInterpreter::ledColour(char byte) {
  if (byte != 'r' && byte != 'g') return abandonBrokenBy(byte);
  sequence_ += byte;
  ledColour_ = byte;
  state_ = State::LedLevel;
}

void ProtocolInterpreter::ledLevel(char byte) {
  if (byte != 'l' && byte != 'b') return abandonBrokenBy(byte);
  screen_.setLed(ledColour_ == 'r' ? TerminalScreen::Led::Red : TerminalScreen::Led::Green,
                 byte == 'l');
  state_ = State::Ground;
}

void ProtocolInterpreter::frame(char byte) {
  if (byte == kEtx) return runFrame();
  if (byte == kStx) {
    // A new frame before the old one ended: the old one is lost, the new one counts.
    abandon();
    return ground(byte);
  }
  if (sequence_.size() < kMaxFrame) {
    sequence_ += byte;
  } else {
    malformed_ = true;
  }
}

void ProtocolInterpreter::runCsi(char final) {
  state_ = State::Ground;
  if (malformed_ || dialect_ != Dialect::Vt100) return unrecognised(sequence_);
  // Parameters sit between "ESC [" and the final byte, digits and ";" only; empty ones
  // take their default.
  const std::string_view body = std::string_view(sequence_).substr(2, sequence_.size() - 3);
  std::vector<int> values;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(body.find(';', start), body.size());
    const std::string_view item = body.substr(start, end - start);
    values.push_back(item.empty() ? -1 : parseNumber(item));
    if (end == body.size()) break;
    start = end + 1;
  }
  auto value = [&](std::size_t i, int fallback) {
    return i < values.size() && values[i] > 0 ? values[i] : fallback;
  };
  const int mode = std::max(values[0], 0);
  if (final == 'H' || final == 'f') {
    screen_.moveTo(value(0, 1) - 1, value(1, 1) - 1);
  } else if (final == 'J' && mode <= 2) {
    if (mode == 0) screen_.eraseToEnd();
    if (mode == 1) screen_.eraseToCursor();
    if (mode == 2) {
      screen_.eraseToEnd();
      screen_.eraseToCursor();
    }
  } else if (final == 'K' && mode <= 2) {
    if (mode == 0) screen_.eraseToEndOfLine();
    if (mode == 1) screen_.eraseLineToCursor();
    if (mode == 2) screen_.eraseLine();
  } else {
    unrecognised(sequence_);
  }
}

void ProtocolInterpreter::runFrame() {
  state_ = State::Ground;
  const std::string_view body = std::string_view(sequence_).substr(1);
  const char command = body.empty() || malformed_ ? 0 : body[0];
  const std::string_view argument = body.empty() ? body : body.substr(1);
  if (command == 'L' && argument.empty()) {
    screen_.clear();
  } else if (command == 'C' && argument.size() >= 4 &&
             std::all_of(argument.begin(), argument.end(), isDigit)) {
    const std::size_t split = argument.size() - 2;
    screen_.moveTo(parseNumber(argument.substr(0, split)), parseNumber(argument.substr(split)));
  } else if (command == 'D') {
    writeText(argument);
  } else {
    std::string whole = sequence_;
    whole += kEtx;
    unrecognised(whole);
  }
}

void ProtocolInterpreter::writeText(std::string_view text) {
  for (char byte : text) {
    if (isControl(byte)) {
      unrecognised(std::string_view(&byte, 1));
    } else {
      screen_.put(byte);
    }
  }
}

void ProtocolInterpreter::abandon() {
  state_ = State::Ground;
  unrecognised(sequence_);
}

void ProtocolInterpreter::abandonBrokenBy(char byte) {
  if (isControl(byte)) {
    abandon();
    ground(byte);
  } else {
    sequence_ += byte;
    abandon();
  }
}

void ProtocolInterpreter::unrecognised(std::string_view bytes) {
  ++unrecognisedCount_;
  lastUnrecognised_.assign(bytes);
}

}  // namespace mts::termsim
