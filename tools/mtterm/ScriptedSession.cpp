#include "mtterm/ScriptedSession.h"

#include "mtterm/ExitCode.h"
#include "mtterm/ScreenText.h"
#include "mtterm/VisibleText.h"

namespace mts::termsim {
namespace {

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 0x0F];
  }
  return out;
}

}  // namespace

ScriptedSession::ScriptedSession(ServerLink& link, const ProtocolInterpreter& interpreter,
                                 Settings settings, std::ostream& out, std::ostream& diagnostics)
    : link_(link),
      interpreter_(interpreter),
      settings_(std::move(settings)),
      out_(out),
      diagnostics_(diagnostics) {}

int ScriptedSession::run(const std::vector<KeyStep>& steps) {
  int code = settings_.waitFor ? waitFor(*settings_.waitFor) : settle();
  for (std::size_t i = 0; code == kExitOk && i < steps.size(); ++i) code = runStep(steps[i]);

  out_ << formatSnapshot(interpreter_.screen()) << std::flush;
  if (const std::size_t count = interpreter_.unrecognisedCount(); count > 0) {
    diagnostics_ << "mtterm: " << count << " received byte(s) or sequence(s) not understood in the "
                 << dialectName(interpreter_.dialect())
                 << " dialect (the latest: " << hex(interpreter_.lastUnrecognised()) << ")\n";
  }
  return code;
}

int ScriptedSession::runStep(const KeyStep& step) {
  switch (step.kind) {
    case KeyStep::Kind::Send:
      if (!link_.send(step.bytes)) return linkProblem();
      return settle();
    case KeyStep::Kind::Pause:
      return pause(std::chrono::milliseconds(step.milliseconds));
    case KeyStep::Kind::Show:
      show();
      return kExitOk;
    case KeyStep::Kind::WaitFor:
      return waitFor(step.bytes);
  }
  return kExitOk;
}

int ScriptedSession::settle() {
  const auto limit = Clock::now() + settings_.timeout;
  auto quietUntil = Clock::now() + settings_.settle;
  for (;;) {
    const auto event = link_.receiveUntil(std::min(quietUntil, limit));
    if (event == ServerLink::Event::Data) {
      quietUntil = Clock::now() + settings_.settle;
    } else if (event != ServerLink::Event::Timeout) {
      return linkProblem();
    } else if (Clock::now() >= quietUntil) {
      return kExitOk;
    } else if (Clock::now() >= limit) {
      diagnostics_ << "mtterm: the server did not stay quiet for " << settings_.settle.count()
                   << " ms within " << settings_.timeout.count() << " ms\n";
      return kExitTimeout;
    }
  }
}

int ScriptedSession::waitFor(const std::string& text) {
  const auto limit = Clock::now() + settings_.timeout;
  while (!screenShows(interpreter_.screen(), text)) {
    const auto event = link_.receiveUntil(limit);
    if (event == ServerLink::Event::Timeout && Clock::now() >= limit) {
      diagnostics_ << "mtterm: timed out after " << settings_.timeout.count()
                   << " ms waiting for the screen to show \"" << visibleUtf8(text) << "\"\n";
      return kExitTimeout;
    }
    if (event == ServerLink::Event::Closed || event == ServerLink::Event::Failed) {
      return linkProblem();
    }
  }
  return settle();
}

int ScriptedSession::pause(std::chrono::milliseconds length) {
  const auto until = Clock::now() + length;
  while (Clock::now() < until) {
    const auto event = link_.receiveUntil(until);
    if (event == ServerLink::Event::Closed || event == ServerLink::Event::Failed) {
      return linkProblem();
    }
  }
  return kExitOk;
}

int ScriptedSession::linkProblem() {
  diagnostics_ << "mtterm: " << link_.error() << "\n";
  return kExitConnectionLost;
}

void ScriptedSession::show() {
  out_ << formatSnapshot(interpreter_.screen()) << "\n";
}

}  // namespace mts::termsim
