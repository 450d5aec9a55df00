#pragma once

#include <stdexcept>
#include <string>

namespace mts::db {

// Raised by every database operation that fails. what() is the database's own
// message text (as the client library formats the status vector), so it can be
// shown to a person unchanged.
class DatabaseError : public std::runtime_error {
 public:
  explicit DatabaseError(const std::string& message, bool connectionLost = false)
      : std::runtime_error(message), connectionLost_(connectionLost) {}

  // True when the failure was the connection itself (server gone, network cut).
  bool connectionLost() const { return connectionLost_; }

 private:
  bool connectionLost_;
};

}  // namespace mts::db
