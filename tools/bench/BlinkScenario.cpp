#include "BlinkScenario.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "DriveTerminals.h"
#include "SimulatedTerminal.h"

namespace mts::bench {

namespace {

// The terminal that blinks its LEDs connects from this address, which the
// server's INI lists as a LED terminal; the posting terminals use 127.1.x.y.
const char* kLedTerminalAddress = "127.0.0.2";
// Badges in over and over while another terminal posts: accepted, so the
// green LED blinks before every card prompt.
const char* kBlinkingBadge = "1005";

// The two halves on `server`, which lists kLedTerminalAddress as a LED terminal.
BlinkFigures blinkOnServer(const BenchServer& server, int cards) {
  BlinkFigures figures;
  figures.alone = driveTerminals(server, 1, cards);
  std::atomic<bool> posting{true};
  std::string failure;
  SimulatedTerminal led(server.port(), kLedTerminalAddress, std::chrono::seconds(20));
  std::thread blinker([&] {
    try {
      while (posting) {
        led.badgeIn(kBlinkingBadge);
        ++figures.badges;
        led.logOut();
      }
    } catch (const std::exception& error) {
      failure = error.what();
    }
  });
  try {
    figures.beside = driveTerminals(server, 1, cards, cards);
  } catch (...) {
    posting = false;
    blinker.join();
    throw;
  }
  posting = false;
  blinker.join();
  if (!failure.empty()) throw std::runtime_error("LED terminal failed: " + failure);
  return figures;
}

}  // namespace

BlinkFigures blinkScenario(const Options& options, FactorySize size, int cards) {
  size.cards = 2 * cards;
  BenchServer server(options, Engine::PrivateServer, size,
                     std::string("[IP_TERMINAL_LED]\n1=") + kLedTerminalAddress + "\n");
  try {
    return blinkOnServer(server, cards);
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(std::string("blink: ") + error.what() + "\nmtserver log:\n" +
                             server.log());
  }
}

}  // namespace mts::bench
