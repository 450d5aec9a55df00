#pragma once

#include "server/ProductionOperations.h"

namespace mts {

// Production as one database worker owns it: its own connection and its own
// production module, used only on the worker's thread, except Cancel.
class WorkerProduction : public ProductionOperations {
 public:
  // Attaches and reads what the module needs at start (parameters, cached
  // lists). Called on the worker's thread before its first request, and again
  // before a request or a check while it has not succeeded. Throws the
  // database error; a module that could not read everything still answers
  // (it tries again when a card needs it).
  virtual void Start() = 0;
  // One light round trip to the database; throws the database error when it
  // is out of reach (attaching again first when the link was lost).
  virtual void CheckDatabase() = 0;
  // From any thread, while the worker's thread runs a request: makes the
  // statement in progress fail at once, with its transaction rolled back.
  // `hard` gives up the link itself, for a database that does not answer even
  // the cancel (the request then fails as if the connection was lost).
  virtual void Cancel(bool hard) = 0;
};

}  // namespace mts
