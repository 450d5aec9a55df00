#pragma once

// Shared pieces of the Firebird object-oriented API used inside the data access
// layer. Not part of its public interface: nothing outside src/dataaccess
// includes this header.

#include <firebird/Interface.h>

#include <cstdint>
#include <string>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db::fb {

Firebird::IMaster* master();
Firebird::IUtil* util();

// A status for one sequence of API calls: failures throw Firebird::FbException,
// which callers turn into DatabaseError with toDatabaseError before it leaves
// the layer (FbException is no std::exception).
class Status : public Firebird::ThrowStatusWrapper {
 public:
  Status() : ThrowStatusWrapper(master()->getStatus()) {}
  ~Status() { status->dispose(); }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
};

// The database's own message for a failed call, as the client library formats it.
std::string messageOf(const Firebird::FbException& error);

// True when the error vector says the link to the database is gone (network
// cut, server stopped, attachment shut down), so the attachment is unusable.
bool isConnectionLost(const Firebird::FbException& error);

// True when the error vector carries the database error `code` (an isc_ value).
bool hasErrorCode(const Firebird::FbException& error, intptr_t code);

DatabaseError toDatabaseError(const Firebird::FbException& error);

// Releases an interface that may be null; for clean-up paths.
template <typename T>
void releaseQuietly(T*& object) {
  if (object != nullptr) {
    object->release();
    object = nullptr;
  }
}

}  // namespace mts::db::fb
