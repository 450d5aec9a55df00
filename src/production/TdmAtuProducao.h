#pragma once

#include <functional>
#include <string>

#include "dataaccess/Connection.h"

namespace mts {

// Reports an error that the module caught while starting (for example an
// unreachable database): the server shows it in an error message box, or on
// standard error when it runs headless.
using StartupErrorReporter = std::function<void(const std::string& message)>;

// The production data module: prepares, validates and records the production
// postings of every terminal. One instance lives as long as the server.
//
// The connection is the server's; the module uses it and never owns it. It
// must outlive the module.
class TdmAtuProducao {
 public:
  // Binds the module to the connection and runs its creation handler. An
  // error inside the creation handler is passed to reportError and the module
  // is created all the same.
  TdmAtuProducao(db::Connection& connection, StartupErrorReporter reportError);
  ~TdmAtuProducao();
  TdmAtuProducao(const TdmAtuProducao&) = delete;
  TdmAtuProducao& operator=(const TdmAtuProducao&) = delete;

 private:
  db::Connection* connection_;
};

}  // namespace mts
