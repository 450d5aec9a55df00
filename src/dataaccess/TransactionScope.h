#pragma once

#include "dataaccess/Connection.h"

namespace mts::db {

// Starts the connection's explicit transaction when none is open and then owns commit and
// rollback; otherwise joins the open one. A joined scope left by an exception marks the
// transaction failed, so the owner's commit() throws instead of committing half the work.
//
// Work that must be whole whether it runs alone or as part of a caller's larger
// unit opens one of these and calls commit() at its end; only the outermost
// scope's commit reaches the database. The connection must outlive the scope.
class TransactionScope {
 public:
  explicit TransactionScope(Connection& connection);
  ~TransactionScope();  // owner: rolls back unless committed
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;

  void commit();  // owner: commits; joined: does nothing (the owner commits)
  bool ownsTransaction() const;

 private:
  Connection& connection_;
  bool owner_;
  bool committed_ = false;
  int exceptionsInFlight_;  // at construction: more at destruction means an exception leaves
};

}  // namespace mts::db
