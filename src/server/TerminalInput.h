#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "server/CardSubmission.h"
#include "server/RegConnections.h"
#include "server/TRegConnection.h"
#include "server/TerminalConnection.h"
#include "server/TerminalScreen.h"

namespace mts {

// Turns the keys a terminal sends into a badge or a card code: echoes them,
// handles backspace, cancel and the "," key, enforces the length limits (12
// for a badge, 33 for a card code) and hands a complete entry to the card
// submission. It also brings the terminal back to its prompt after a result.
//
// A read holds whatever had arrived, so it is first split into keys
// (KeysOfRead), and each key is handled in turn as if it had come alone: a CR
// submits wherever it stands, and a code scanned in one piece stays one key.
// A key is upper-cased (a to z only) and compared whole. The registry, screen
// and submission are the server's and must outlive it. Event-loop thread only;
// errors from the submission and the screen pass through to the caller, and
// the keys of the read after the failing one are dropped.
class TerminalInput {
 public:
  // Adds one line to the received-data view.
  using ReceivedWriter = std::function<void(const std::string& line)>;

  static constexpr std::size_t kBadgeLimit = 12;
  static constexpr std::size_t kCardLimit = 33;
  // Bytes a Busy terminal may hold; more are dropped (no operator types that
  // much while one card is answered).
  static constexpr std::size_t kHeldKeysLimit = 4096;

  TerminalInput(RegConnections& registry, TerminalScreen& screen, CardSubmission& submission,
                ReceivedWriter addReceived);

  // Handles the keys of one read from the connection. An empty read, or one
  // from a connection whose address was never registered, changes nothing.
  // While the terminal is Busy (a badge or card with production), the keys
  // are held instead, and handled in order once its answer is shown; a key
  // that submits an entry holds the keys after it in the same way.
  void ServerClientRead(const std::shared_ptr<TerminalConnection>& connection,
                        std::string_view bytes);

  // Echoes the key, upper-cased, on the connection that delivered it and adds
  // it to Input, which is then trimmed of blanks and control characters at both ends.
  void AppendKey(TRegConnection& terminal, TerminalConnection& connection, std::string_view key);
  // Turns the LEDs off (terminals with LEDs), clears the result and redraws
  // the prompt of the current State.
  void BackToPrompt(TRegConnection& terminal);
  // Shows the detail of the last refused card, without accents and upper-cased,
  // on a cleared screen; the result stays "on display", so the next key other
  // than "," brings the prompt back.
  void ShowPendingError(TRegConnection& terminal);

 private:
  // False when a key made the terminal Busy (the rest of the read is held).
  bool HandleKeys(TRegConnection& terminal, TerminalConnection& connection, std::string_view bytes);
  void Hold(TRegConnection& terminal, std::string_view bytes);
  // Once the terminal's answer is shown (from the submission).
  void HandleHeldKeys(TRegConnection& terminal);
  void HandleKey(TRegConnection& terminal, TerminalConnection& connection, const std::string& key);

  RegConnections& registry_;
  TerminalScreen& screen_;
  CardSubmission& submission_;
  ReceivedWriter addReceived_;
};

}  // namespace mts
