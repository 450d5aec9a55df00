#pragma once

#include <stdexcept>
#include <string>

namespace mts {

// A stock posting request that cannot be posted as given. Raised before
// anything of the posting is written; the message says which field is wrong.
class ELancProducaoEstoqueException : public std::runtime_error {
 public:
  explicit ELancProducaoEstoqueException(const std::string& message)
      : std::runtime_error(message) {}
};

}  // namespace mts
