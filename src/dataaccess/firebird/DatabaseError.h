#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace mts::db {

// Raised by every database operation that fails. what() is the database's own
// message text (as the client library formats the status vector), so it can be
// shown to a person unchanged.
class DatabaseError : public std::runtime_error {
 public:
  // What the failure was, for callers that answer each kind differently.
  enum class Cause {
    Other,
    // The connection itself: server gone, network cut, attachment shut down.
    ConnectionLost,
    // Another transaction changed or holds a row this one needed: an update
    // conflict, a deadlock, or a lock wait that ran out (the database reports
    // all of them alike).
    Conflict,
    // Connection::cancelOperation() stopped the operation (from another
    // thread, usually because it ran past its deadline).
    Cancelled,
  };

  explicit DatabaseError(const std::string& message, bool connectionLost = false)
      : DatabaseError(message, connectionLost ? Cause::ConnectionLost : Cause::Other) {}
  DatabaseError(const std::string& message, Cause cause, std::int64_t concurrentTransaction = 0)
      : std::runtime_error(message),
        message_(message),
        cause_(cause),
        concurrentTransaction_(concurrentTransaction) {}

  // The message from a copy of its own. Copies of a std::runtime_error share
  // one reference-counted text, and a failure often ends up on two threads (a
  // worker keeps the error of its cut transaction while the loop thread shows
  // a copy): each copy owning its text leaves nothing for them to share.
  const char* what() const noexcept override { return message_.c_str(); }

  Cause cause() const { return cause_; }
  // True when the failure was the connection itself (server gone, network cut).
  bool connectionLost() const { return cause_ == Cause::ConnectionLost; }
  bool conflict() const { return cause_ == Cause::Conflict; }
  bool cancelled() const { return cause_ == Cause::Cancelled; }
  // True when a commit was under way as the link went (lost, or cut by a
  // cancel): the database may have committed it before the link went, so the
  // work must be treated as maybe done, never as surely undone. False for
  // every other failure: a statement that fails leaves nothing committed.
  bool outcomeUnknown() const { return outcomeUnknown_; }
  void markOutcomeUnknown() { outcomeUnknown_ = true; }
  // The other transaction a conflict names (it changed the row, or still holds
  // it); 0 when the database named none.
  std::int64_t concurrentTransaction() const { return concurrentTransaction_; }

 private:
  std::string message_;
  Cause cause_;
  std::int64_t concurrentTransaction_;
  bool outcomeUnknown_ = false;
};

}  // namespace mts::db
