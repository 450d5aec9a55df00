#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <string>

#include "production/TRetorno.h"
#include "server/ProductionOperations.h"
#include "server/ServerActivity.h"
#include "server/TRegConnection.h"
#include "server/TerminalScreen.h"

namespace mts {

// The badge and card flow of a terminal: what happens when the operator
// submits an entry. A badge logs the employee in; each card code is rewritten
// from its keypad form, identified, validated and recorded by the production
// module, and the outcome is shown on the terminal, signalled with its LEDs,
// added to the received-data view and, through ShowResult, to the log file.
//
// An error raised by the production module while a badge or card is handled
// (a database failure, a writer that fails) is answered on that terminal
// alone, like a refusal: red LED, "FUNC. NAO VERIFICADO" or "FICHA NAO
// ATUALIZADA", plain words behind the "," key, and the terminal, the entry
// and the error in the received-data view and the log. Nothing of a failed
// card is recorded (the production module rolls it back).
//
// The screen, the production operations and the line writers are the
// server's and must outlive it. Event-loop thread only.
class CardSubmission {
 public:
  // Adds one line to the received-data view (or to the log).
  using ReceivedWriter = std::function<void(const std::string& line)>;

  CardSubmission(TerminalScreen& screen, ProductionOperations& production,
                 ReceivedWriter addReceived, ReceivedWriter writeLog = {});

  // Who is told each badge and card result once it is on the terminal; none
  // when null. Borrowed: it must outlive the submission or be reset first.
  void setActivity(ServerActivity* activity) { activity_ = activity; }

  // Submits Input as a badge (waiting for a badge) or as a card code.
  void SubmitInput(TRegConnection& terminal);

  // Looks the badge up. Found: on a terminal with LEDs the green LED blinks
  // first, and only when the blink has ended on the same open connection is
  // the employee logged in (State WaitingCard, card prompt); meanwhile keys of
  // the terminal are handled against the badge state. Without LEDs the login
  // is immediate. Not found: red LED, "FUNC. NAO LOCALIZADO" on row 3, cursor
  // after the typed badge; Input keeps the badge. The look-up failing: red
  // LED, "FUNC. NAO VERIFICADO", what failed in PendingError. The record must
  // stay where it is while a blink runs (registry records do).
  void SubmitBadge(TRegConnection& terminal, const std::string& badge);

  // Posts the typed code (rewritten first). Posted: green LED, card prompt,
  // the success text of CardKind. Refused: red LED, "FICHA NAO ATUALIZADA",
  // the message kept in PendingError and the typed code left in Input.
  void SubmitCard(TRegConnection& terminal, const std::string& typedCode);

 private:
  // Red LED, "FICHA NAO ATUALIZADA", `detail` kept for the "," key.
  void RefuseCard(TRegConnection& terminal, const std::string& typedCode, const std::string& detail,
                  const std::string& receivedLine, std::chrono::steady_clock::time_point submitted);
  void FailCard(TRegConnection& terminal, const std::string& typedCode, const std::string& code,
                const std::exception& error, std::chrono::steady_clock::time_point submitted);
  void FailBadge(TRegConnection& terminal, const std::string& badge, const std::exception& error);
  // The failure's line to the log, and a database error to the activity.
  void ReportFailure(const std::exception& error, const std::string& line);

  void LogIn(TRegConnection& terminal, const std::string& badge, const BadgeOutcome& employee);
  std::string TerminalPrefix(const TRegConnection& terminal) const;

  void ReportCard(const TRegConnection& terminal, bool posted, const std::string& shownText,
                  std::chrono::steady_clock::time_point submitted) const;

  TerminalScreen& screen_;
  ProductionOperations& production_;
  ReceivedWriter addReceived_;
  ReceivedWriter writeLog_;
  ServerActivity* activity_ = nullptr;
  // What became of the last card (empty when it failed): the identified
  // sector and kind label the reported result.
  CardOutcome lastCard_;
};

}  // namespace mts
