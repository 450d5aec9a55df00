#include "dataaccess/firebird/FirebirdApi.h"

#include <array>
#include <cstdlib>

namespace mts::db::fb {

Firebird::IMaster* master() {
  static Firebird::IMaster* const instance = Firebird::fb_get_master_interface();
  return instance;
}

Firebird::IUtil* util() {
  return master()->getUtilInterface();
}

std::string messageOf(const Firebird::FbException& error) {
  std::array<char, 4096> buffer{};
  const unsigned length = util()->formatStatus(buffer.data(), buffer.size(), error.getStatus());
  std::string message(buffer.data(), std::min<std::size_t>(length, buffer.size() - 1));
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  return message;
}

bool hasErrorCode(const Firebird::FbException& error, intptr_t code) {
  const intptr_t* v = error.getStatus()->getErrors();
  while (v != nullptr && v[0] != isc_arg_end) {
    const intptr_t kind = v[0];
    if (kind == isc_arg_gds && v[1] == code) return true;
    v += (kind == isc_arg_cstring) ? 3 : 2;
  }
  return false;
}

bool isConnectionLost(const Firebird::FbException& error) {
  const intptr_t* v = error.getStatus()->getErrors();
  while (v != nullptr && v[0] != isc_arg_end) {
    const intptr_t kind = v[0];
    if (kind == isc_arg_gds) {
      switch (v[1]) {
        case isc_network_error:
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_net_connect_err:
        case isc_net_connect_listen_err:
        case isc_net_server_shutdown:
        case isc_lost_db_connection:
        case isc_conn_lost:
        case isc_att_shutdown:
        case isc_shutdown:
          return true;
        default:
          break;
      }
    }
    // A C string argument carries its length and pointer; every other kind one value.
    v += (kind == isc_arg_cstring) ? 3 : 2;
  }
  return false;
}

namespace {

bool isConflict(const Firebird::FbException& error) {
  return hasErrorCode(error, isc_deadlock) || hasErrorCode(error, isc_update_conflict) ||
         hasErrorCode(error, isc_lock_conflict) || hasErrorCode(error, isc_lock_timeout);
}

// The number that follows isc_concurrent_transaction, or 0. Transaction
// numbers are 64-bit: the engine passes them as text.
std::int64_t concurrentTransactionOf(const Firebird::FbException& error) {
  const intptr_t* v = error.getStatus()->getErrors();
  while (v != nullptr && v[0] != isc_arg_end) {
    const intptr_t kind = v[0];
    if (kind == isc_arg_gds && v[1] == isc_concurrent_transaction) {
      const intptr_t* argument = v + 2;
      switch (argument[0]) {
        case isc_arg_number:
          return static_cast<std::int64_t>(argument[1]);
        case isc_arg_string:
          return std::strtoll(reinterpret_cast<const char*>(argument[1]), nullptr, 10);
        case isc_arg_cstring:
          return std::strtoll(std::string(reinterpret_cast<const char*>(argument[2]),
                                          static_cast<std::size_t>(argument[1]))
                                  .c_str(),
                              nullptr, 10);
        default:
          return 0;
      }
    }
    v += (kind == isc_arg_cstring) ? 3 : 2;
  }
  return 0;
}

}  // namespace

DatabaseError toDatabaseError(const Firebird::FbException& error) {
  if (isConnectionLost(error)) {
    return DatabaseError(messageOf(error), DatabaseError::Cause::ConnectionLost);
  }
  if (hasErrorCode(error, isc_cancelled)) {
    return DatabaseError(messageOf(error), DatabaseError::Cause::Cancelled);
  }
  if (isConflict(error)) {
    return DatabaseError(messageOf(error), DatabaseError::Cause::Conflict,
                         concurrentTransactionOf(error));
  }
  return DatabaseError(messageOf(error));
}

}  // namespace mts::db::fb
