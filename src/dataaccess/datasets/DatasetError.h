#pragma once

#include <stdexcept>
#include <string>

namespace mts {

// Raised when a client dataset (or its provider) needs the database and was
// given no connection.
inline constexpr const char* kMissingConnectionMessage =
    "\xC9 necess\xE1rio preencher a propriedade SQLConnection para utilizar o provider "
    "interno.";

// Raised by the query-backed datasets for failures of their own: a dataset used
// in the wrong state, a missing connection, a field that does not exist, an
// update that found no row to change. Failures of the database itself keep
// their own type (db::DatabaseError) and message.
class DatasetError : public std::runtime_error {
 public:
  explicit DatasetError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace mts
