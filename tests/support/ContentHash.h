#pragma once

#include <cstdint>
#include <string>

namespace mts::test {

// FNV-1a over the bytes: names a cached database template after the scripts it
// was made from, so a changed script gets a new template.
inline std::uint64_t fnv1a(const std::string& bytes, std::uint64_t hash = 14695981039346656037ull) {
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace mts::test
