#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace mts::db {

// The bytes of one input or output message, laid out by its metadata (offsets
// from IMessageMetadata). Kept 8-byte aligned: the widest field is 8 bytes.
class MessageBuffer {
 public:
  explicit MessageBuffer(unsigned length = 0) : words_((length + 7) / 8 + 1) {}

  unsigned char* data() { return reinterpret_cast<unsigned char*>(words_.data()); }
  const unsigned char* data() const {
    return reinterpret_cast<const unsigned char*>(words_.data());
  }

  template <typename T>
  T read(unsigned offset) const {
    T value;
    std::memcpy(&value, data() + offset, sizeof value);
    return value;
  }

  template <typename T>
  void write(unsigned offset, T value) {
    std::memcpy(data() + offset, &value, sizeof value);
  }

 private:
  std::vector<std::uint64_t> words_;
};

}  // namespace mts::db
