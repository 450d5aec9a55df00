#pragma once

#include <string>

#include "server/status/StatusSnapshot.h"

namespace mts {

// How often the page reloads itself.
inline constexpr int kStatusPageRefreshSeconds = 10;

// The status page for a person (UTF-8 HTML): server, the problems that need
// attention, database, every terminal (disconnected ones highlighted with the
// time since they left) and the cards per sector. It reloads itself and lays the terminals out as
// cards on a narrow (phone) screen.
std::string StatusPage(const StatusSnapshot& status);

}  // namespace mts
