#include "dataaccess/firebird/DatabaseClient.h"

#include <ibase.h>

#include "dataaccess/firebird/BoundedAttach.h"

namespace mts::db {

bool shutdownDatabaseClient(std::chrono::milliseconds timeout) {
  // The library's shutdown waits, past any timeout, for an attach whose server
  // answered the connect and then went silent. Such an attach is left to the
  // exit of the process, which does not wait for it.
  if (!waitForAttachesInFlight(timeout)) return false;
  return fb_shutdown(static_cast<unsigned>(timeout.count()), fb_shutrsn_app_stopped) == 0;
}

}  // namespace mts::db
