#pragma once

#include <string>

#include "dataaccess/firebird/Value.h"

namespace mts {

// "dd/mm/yyyy hh:nn:ss": two-digit day and month, four-digit year, 24-hour
// clock, always "/" and ":" whatever the machine's locale.
std::string formatDateTime(const db::Timestamp& moment);

// True when the moment is after 1 January 2000 00:00:00; the zero timestamp
// (a null date) is not.
bool isAfterYear2000Start(const db::Timestamp& moment);

}  // namespace mts
