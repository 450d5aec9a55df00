#include "mtterm/KeyboardDecoder.h"

#include "routines/Windows1252Unicode.h"

namespace mts::termsim {
namespace {

constexpr char kCtrlC = 0x03;
constexpr char kBs = 0x08;
constexpr char kLf = 0x0A;
constexpr char kCr = 0x0D;
constexpr char kCtrlQ = 0x11;
constexpr char kCtrlR = 0x12;
constexpr char kEsc = 0x1B;
constexpr char kDel = 0x7F;
// No special key sends a longer sequence; a longer one is dropped.
constexpr std::size_t kMaxSequence = 16;

KeyAction sendKey(std::string bytes) {
  return {KeyAction::Kind::Send, std::move(bytes)};
}

bool isFinalByte(char byte) {
  return byte >= 0x40 && byte <= 0x7E;
}

}  // namespace

std::vector<KeyAction> KeyboardDecoder::feed(std::string_view input) {
  std::vector<KeyAction> actions;
  for (char byte : input) step(byte, actions);
  return actions;
}

std::vector<KeyAction> KeyboardDecoder::flush() {
  std::vector<KeyAction> actions;
  if (pending_ == std::string(1, kEsc)) actions.push_back(sendKey(pending_));
  // Anything else left over is half a sequence or half a character: nothing to send.
  pending_.clear();
  return actions;
}

void KeyboardDecoder::step(char byte, std::vector<KeyAction>& actions) {
  if (pending_.empty()) return plain(byte, actions);

  if (pending_[0] != kEsc) {
    // The rest of a UTF-8 character.
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
      pending_.clear();
      return plain(byte, actions);
    }
    pending_ += byte;
    if (static_cast<int>(pending_.size()) == text::Utf8SequenceLength(pending_[0])) {
      if (const auto key = text::Windows1252FromUtf8(pending_)) actions.push_back(sendKey(*key));
      pending_.clear();
    }
    return;
  }

  if (pending_.size() == 1) {
    if (byte == '[' || byte == 'O') {
      pending_ += byte;
      return;
    }
    // ESC followed by anything else: the Esc key, then that byte on its own.
    actions.push_back(sendKey(pending_));
    pending_.clear();
    return plain(byte, actions);
  }
  if (pending_[1] == 'O' || isFinalByte(byte)) {
    pending_ += byte;
    return finishSequence(actions);
  }
  if (static_cast<unsigned char>(byte) < 0x20) {
    pending_.clear();
    return plain(byte, actions);
  }
  pending_ += byte;
  if (pending_.size() > kMaxSequence) pending_.clear();
}

void KeyboardDecoder::plain(char byte, std::vector<KeyAction>& actions) {
  const auto b = static_cast<unsigned char>(byte);
  switch (byte) {
    case kCtrlC:
    case kCtrlQ:
      actions.push_back({KeyAction::Kind::Quit, {}});
      return;
    case kCr:
    case kLf:
      actions.push_back(sendKey("\r"));
      return;
    case kBs:
    case kDel:
      actions.push_back(sendKey("\b"));
      return;
    case kCtrlR:
      actions.push_back(sendKey(std::string(1, '\0')));
      return;
    case kEsc:
      pending_.assign(1, byte);
      return;
    default:
      break;
  }
  if (b < 0x20) return;
  if (b < 0x80) {
    actions.push_back(sendKey(std::string(1, byte)));
  } else if (text::Utf8SequenceLength(b) > 1) {
    pending_.assign(1, byte);
  }
}

void KeyboardDecoder::finishSequence(std::vector<KeyAction>& actions) {
  if (pending_ == "\x1B[3~") actions.push_back(sendKey(std::string(1, kDel)));
  pending_.clear();
}

}  // namespace mts::termsim
