#pragma once

#include <string>

#include "server/status/StatusSnapshot.h"

namespace mts {

// The snapshot as one JSON document (UTF-8): "server", "problems",
// "database", "terminals" and "sectors". Absent times, errors and numbers
// are null.
std::string StatusJson(const StatusSnapshot& status);

}  // namespace mts
