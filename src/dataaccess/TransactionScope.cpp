#include "dataaccess/TransactionScope.h"

#include <exception>

#include "dataaccess/DatabaseError.h"

namespace mts::db {

TransactionScope::TransactionScope(Connection& connection)
    : connection_(connection),
      owner_(!connection.inTransaction()),
      exceptionsInFlight_(std::uncaught_exceptions()) {
  if (owner_) connection_.startTransaction();
}

TransactionScope::~TransactionScope() {
  if (!owner_) {
    if (std::uncaught_exceptions() > exceptionsInFlight_) connection_.markTransactionFailed();
    return;
  }
  if (committed_) return;
  try {
    connection_.rollback();
  } catch (const DatabaseError&) {
    // A destructor cannot report it, and a rollback fails only when the
    // connection is gone, which undoes the transaction anyway.
  }
}

void TransactionScope::commit() {
  if (!owner_) return;
  connection_.commit();
  committed_ = true;
}

bool TransactionScope::ownsTransaction() const {
  return owner_;
}

}  // namespace mts::db
