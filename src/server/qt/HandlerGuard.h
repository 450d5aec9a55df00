#pragma once

#include <functional>
#include <string>

namespace mts {

// Receives the message of an error that escaped an event handler.
using ErrorSink = std::function<void(const std::string& message)>;

// Runs one event handler of the Qt edge. Qt does not carry exceptions through
// its event loop, so every slot, timer and notifier we own runs its work
// through here: an exception that escapes the work goes to the sink (the
// server's error handler). Should the sink throw as well, the message goes to
// standard error: nothing ever leaves a handler.
void RunGuarded(const ErrorSink& sink, const std::function<void()>& work) noexcept;

}  // namespace mts
