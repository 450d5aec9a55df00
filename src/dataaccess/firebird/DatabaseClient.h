#pragma once

#include <chrono>

namespace mts::db {

// Ends the database client library's work in this process: waits for its
// threads (the embedded engine's among them) and unloads its plugins.
//
// Call once, after every Connection is destroyed and before the process exits.
// Left to the library's own clean-up at exit, that work runs while the process
// is already tearing itself down, and the engine's threads can find their code
// unmapped or wait for ever on a lock. Nothing of the library may be used
// afterwards. Returns false when it could not finish within `timeout`, and
// without stopping the library when an attach given up for its timeout is
// still inside it (see BoundedAttach).
bool shutdownDatabaseClient(std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace mts::db
