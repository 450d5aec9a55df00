#include "mtterm/KeyScript.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "routines/Windows1252Unicode.h"

namespace mts::termsim {
namespace {

constexpr int kMaxPauseMs = 3'600'000;

KeyStep send(std::string bytes) {
  return {KeyStep::Kind::Send, std::move(bytes), 0};
}

const std::map<std::string, std::string>& namedKeys() {
  static const std::map<std::string, std::string> keys = {
      {"enter", "\r"},
      {"esc", "\x1B"},
      {"cancel", "\x1B"},
      {"del", "\x7F"},
      {"bs", "\b"},
      {"backspace", "\b"},
      {"nul", std::string(1, '\0')},
  };
  return keys;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool parseHex(std::string_view text, std::string& bytes) {
  std::string digits;
  for (char c : text) {
    if (c == ' ') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    digits += c;
  }
  if (digits.empty() || digits.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
  }
  return true;
}

bool parseMilliseconds(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0 &&
         value <= kMaxPauseMs;
}

// Turns the inside of one "{...}" into a step; false with a message when it is not one.
bool parseBraced(std::string_view inside, KeyStep& step, std::string& problem) {
  const std::size_t colon = inside.find(':');
  const std::string name = lowered(inside.substr(0, colon));
  const bool hasArgument = colon != std::string_view::npos;
  const std::string_view argument = hasArgument ? inside.substr(colon + 1) : std::string_view();

  if (!hasArgument) {
    if (name == "show") {
      step = {KeyStep::Kind::Show, {}, 0};
      return true;
    }
    const auto key = namedKeys().find(name);
    if (key != namedKeys().end()) {
      step = send(key->second);
      return true;
    }
  }
  if (name == "wait") {
    int ms = 0;
    if (!parseMilliseconds(argument, ms)) {
      problem = "{wait:MS} needs a number of milliseconds from 0 to 3600000";
      return false;
    }
    step = {KeyStep::Kind::Pause, {}, ms};
    return true;
  }
  if (name == "hex") {
    std::string bytes;
    if (!parseHex(argument, bytes)) {
      problem = "{hex:...} needs pairs of hex digits, e.g. {hex:31 32 0D}";
      return false;
    }
    step = send(bytes);
    return true;
  }
  if (name == "send" || name == "scan" || name == "wait-for") {
    const auto bytes = text::Windows1252FromUtf8(argument);
    if (argument.empty() || !bytes) {
      problem = "{" + name + ":TEXT} needs a text that Windows-1252 can represent";
      return false;
    }
    if (name == "wait-for") {
      step = {KeyStep::Kind::WaitFor, *bytes, 0};
    } else {
      step = send(name == "scan" ? *bytes + "\r" : *bytes);
    }
    return true;
  }
  problem = "unknown {" + std::string(inside) + "}";
  return false;
}

}  // namespace

bool parseKeyScript(std::string_view script, std::vector<KeyStep>& steps, std::string& error) {
  steps.clear();
  std::size_t i = 0;
  auto fail = [&](std::size_t at, const std::string& problem) {
    error = "key script, position " + std::to_string(at + 1) + ": " + problem;
    steps.clear();
    return false;
  };
  while (i < script.size()) {
    const auto byte = static_cast<unsigned char>(script[i]);
    if (script.substr(i, 2) == "{{") {
      steps.push_back(send("{"));
      i += 2;
    } else if (byte == '{') {
      const std::size_t close = script.find('}', i);
      if (close == std::string_view::npos)
        return fail(i, "\"{\" without \"}\" (write \"{{\" for the key {)");
      KeyStep step;
      std::string problem;
      if (!parseBraced(script.substr(i + 1, close - i - 1), step, problem)) return fail(i, problem);
      steps.push_back(std::move(step));
      i = close + 1;
    } else if (byte < 0x20 || byte == 0x7F) {
      return fail(i, "control character in the text (write {enter}, {bs}, {hex:..} ...)");
    } else {
      const int length = std::max(text::Utf8SequenceLength(byte), 1);
      const auto key = text::Windows1252FromUtf8(script.substr(i, length));
      if (!key) return fail(i, "character that Windows-1252 cannot represent, or bad UTF-8");
      steps.push_back(send(*key));
      i += length;
    }
  }
  return true;
}

}  // namespace mts::termsim
