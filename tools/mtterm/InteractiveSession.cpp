#include "mtterm/InteractiveSession.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>

#include "mtterm/ConsoleFrame.h"
#include "mtterm/ExitCode.h"
#include "mtterm/KeyboardDecoder.h"
#include "mtterm/ScreenText.h"

namespace mts::termsim {
namespace {

// How long the console must stay quiet after an ESC for it to count as the Esc key rather
// than the start of a special key's sequence.
constexpr int kEscapeWaitMs = 50;

constexpr std::string_view kAlternateScreenOn = "\x1B[?1049h";
constexpr std::string_view kAlternateScreenOff = "\x1B[?25h\x1B[?1049l";

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int) {
  stopRequested = 1;
}

// Raw console for the life of the object: keys arrive one by one, unechoed, with Ctrl-C
// and Ctrl-Q as plain bytes; the previous settings come back in the destructor.
class RawConsole {
 public:
  RawConsole() {
    if (::tcgetattr(STDIN_FILENO, &saved_) != 0) return;
    termios raw = saved_;
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR | BRKINT | ISTRIP);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | ISIG | IEXTEN);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0;
  }
  ~RawConsole() {
    if (active_) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
  }
  RawConsole(const RawConsole&) = delete;
  RawConsole& operator=(const RawConsole&) = delete;

  bool active() const { return active_; }

 private:
  termios saved_{};
  bool active_ = false;
};

// Termination signals end the loop, so the console is restored on the way out.
void catchTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: poll() must return
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void writeConsole(std::string_view text) {
  std::cout << text << std::flush;
}

}  // namespace

int runInteractive(ServerLink& link, const ProtocolInterpreter& interpreter, int socketFd,
                   const std::string& title, std::ostream& diagnostics) {
  if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO)) {
    diagnostics << "mtterm: interactive mode needs a terminal; use --keys for scripts\n";
    return kExitUsage;
  }
  catchTerminationSignals();
  int code = kExitOk;
  std::string problem;
  {
    RawConsole console;
    if (!console.active()) {
      diagnostics << "mtterm: cannot put the console in raw mode: " << std::strerror(errno) << "\n";
      return kExitUsage;
    }
    KeyboardDecoder decoder;
    writeConsole(kAlternateScreenOn);
    auto redraw = [&]() {
      std::string status =
          " Enter  Backspace  Esc=cancel  \",\"=detail  Ctrl-R=redraw  Ctrl-C/Ctrl-Q=quit";
      if (const auto count = interpreter.unrecognisedCount(); count > 0) {
        status += "\r\n " + std::to_string(count) + " received byte(s) not understood";
      }
      writeConsole(drawConsoleFrame(interpreter.screen(), title, status));
    };
    // Each returns false when the session is over.
    auto handle = [&](const std::vector<KeyAction>& actions) {
      for (const auto& action : actions) {
        if (action.kind == KeyAction::Kind::Quit) return false;
        if (!link.send(action.bytes)) {
          problem = link.error();
          code = kExitConnectionLost;
          return false;
        }
      }
      return true;
    };

    redraw();
    bool running = true;
    while (running && !stopRequested) {
      pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {socketFd, POLLIN, 0}};
      const int ready = ::poll(fds, 2, decoder.hasPending() ? kEscapeWaitMs : -1);
      if (ready < 0) {
        if (errno == EINTR) continue;
        problem = std::string("poll failed: ") + std::strerror(errno);
        code = kExitConnectionLost;
        break;
      }
      if (ready == 0) running = handle(decoder.flush());
      if (running && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0 && !(n < 0 && errno == EINTR)) break;  // console gone
        if (n > 0) running = handle(decoder.feed(std::string_view(buffer, n)));
      }
      if (running && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
        const auto event = link.takeAvailable();
        if (event == ServerLink::Event::Closed || event == ServerLink::Event::Failed) {
          problem = link.error();
          code = kExitConnectionLost;
          running = false;
        }
      }
      redraw();
    }
    writeConsole(kAlternateScreenOff);
  }
  std::cout << formatSnapshot(interpreter.screen()) << std::flush;
  if (!problem.empty()) diagnostics << "mtterm: " << problem << "\n";
  return code;
}

}  // namespace mts::termsim
