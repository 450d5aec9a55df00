#include "dataaccess/firebird/DatabaseClient.h"

#include <ibase.h>

namespace mts::db {

bool shutdownDatabaseClient(std::chrono::milliseconds timeout) {
  return fb_shutdown(static_cast<unsigned>(timeout.count()), fb_shutrsn_app_stopped) == 0;
}

}  // namespace mts::db
