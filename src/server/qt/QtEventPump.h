#pragma once

#include "server/TerminalConnection.h"

namespace mts {

// Pauses by running a nested event loop until the deadline, so the other
// terminals (and this one) keep being served during an LED blink.
class QtEventPump final : public EventPump {
 public:
  void pause(int milliseconds) override;
};

}  // namespace mts
