// TEMPORARY stand-in for the database connection, linked only while the data
// access layer has no implementation of mts::db::Connection (see
// CMakeLists.txt). It keeps its settings and refuses to open; the server only
// configures the connection at start-up, so it runs without a database.
#include "dataaccess/Connection.h"
#include "dataaccess/DatabaseError.h"

namespace mts::db {

struct Connection::Impl {
  ConnectionSettings settings;
};

Connection::Connection() : impl_(std::make_unique<Impl>()) {}
Connection::Connection(ConnectionSettings settings) : Connection() {
  impl_->settings = std::move(settings);
}
Connection::~Connection() = default;

const ConnectionSettings& Connection::settings() const {
  return impl_->settings;
}
void Connection::setSettings(ConnectionSettings settings) {
  impl_->settings = std::move(settings);
}

void Connection::open() {
  throw DatabaseError("database access is not available in this build", true);
}
void Connection::close() {}
bool Connection::isOpen() const {
  return false;
}

}  // namespace mts::db
