#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mts::fuzz {

// Splits a fuzz input into the fields a harness needs. Fields are separated by
// NUL bytes, so a stored corpus file stays readable and a mutation that adds or
// removes a separator moves text from one field to the next.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  // The next field; empty once the input is used up.
  std::string_view field() {
    if (position_ >= text_.size()) return {};
    const std::size_t end = text_.find('\0', position_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    const std::string_view result = text_.substr(position_, stop - position_);
    position_ = stop + 1;
    return result;
  }

  // The next field read as a small signed number: its first byte, or 0.
  int number() {
    const std::string_view f = field();
    return f.empty() ? 0 : static_cast<signed char>(f.front());
  }

  // Every remaining field.
  std::vector<std::string_view> rest() {
    std::vector<std::string_view> fields;
    while (position_ < text_.size()) fields.push_back(field());
    return fields;
  }

  std::string_view whole() const { return text_; }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// Stops the run in a way both libFuzzer and the replay driver report: a
// property the harness checks does not hold.
[[noreturn]] inline void propertyFailed() {
  __builtin_trap();
}

inline void check(bool holds) {
  if (!holds) propertyFailed();
}

}  // namespace mts::fuzz
