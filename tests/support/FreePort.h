#pragma once

namespace mts::test {

// A TCP port no process listens on right now, as the kernel hands one out
// (bound on every address, then released at once): for a server that a test
// or a tool is about to start. Throws std::runtime_error when there is none.
int freePort();

}  // namespace mts::test
