#pragma once

#include <string>

#include "server/status/StatusSnapshot.h"

namespace mts {

// The snapshot in the Prometheus text exposition format (version 0.0.4):
// terminals connected, cards by sector, kind and result, the card latency
// histogram, database errors and reachability, listener restarts, per
// terminal (labelled by its address) its name, its connection and the time of
// its latest key (for "gone silent" alarms), and the process's memory,
// descriptors and start time. Counters count since the server started.
std::string StatusMetrics(const StatusSnapshot& status);

}  // namespace mts
