#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <string>

#include "production/TRetorno.h"
#include "server/ProductionRequests.h"
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
// card is recorded (the production module rolls it back), except when the
// link went while its commit was under way: then it may be posted, and the
// terminal shows "FICHA NAO CONFIRMADA" (passing the card again tells).
//
// Production answers later, on the event loop: from the Enter that submits an
// entry until its answer is on the screen, the terminal is Busy and its keys
// wait (TerminalInput holds them). An answer that comes back after the
// terminal closed or connected again goes to the log and the activity, not to
// the new connection's screen.
//
// The screen, the production requests and the line writers are the server's
// and must outlive it. Event-loop thread only.
class CardSubmission {
 public:
  // Adds one line to the received-data view (or to the log).
  using ReceivedWriter = std::function<void(const std::string& line)>;

  // Called once a terminal's badge or card has been answered (Busy is false
  // again), so that the keys it held are handled.
  using Answered = std::function<void(TRegConnection& terminal)>;

  CardSubmission(TerminalScreen& screen, ProductionRequests& production, ReceivedWriter addReceived,
                 ReceivedWriter writeLog = {});

  void setAnswered(Answered answered) { answered_ = std::move(answered); }

  // Who is told each badge and card result once it is on the terminal; none
  // when null. Borrowed: it must outlive the submission or be reset first.
  void setActivity(ServerActivity* activity) { activity_ = activity; }

  // Submits Input as a badge (waiting for a badge) or as a card code. The
  // terminal must not be Busy.
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
  void AnswerBadge(TRegConnection& terminal, const std::string& badge,
                   const BadgeOutcome& employee);
  void AnswerCard(TRegConnection& terminal, const std::string& typedCode, const std::string& code,
                  const CardOutcome& outcome, std::chrono::steady_clock::time_point submitted);
  void LogUnseenCard(TRegConnection& terminal, const std::string& code, const CardOutcome& outcome,
                     std::chrono::steady_clock::time_point submitted);
  // Red LED, the shown text ("FICHA NAO ATUALIZADA" unless told), `detail`
  // kept for the "," key.
  void RefuseCard(TRegConnection& terminal, const std::string& typedCode,
                  const CardOutcome& outcome, const std::string& detail,
                  const std::string& receivedLine, std::chrono::steady_clock::time_point submitted,
                  const char* shownText = "FICHA NAO ATUALIZADA");
  void FailCard(TRegConnection& terminal, const std::string& typedCode, const std::string& code,
                const CardOutcome& outcome, const std::exception& error,
                std::chrono::steady_clock::time_point submitted);
  void FailBadge(TRegConnection& terminal, const std::string& badge, const std::exception& error);
  // The failure's line to the log, and a database error to the activity.
  void ReportFailure(const std::exception& error, const std::string& line);

  void LogIn(TRegConnection& terminal, const std::string& badge, const BadgeOutcome& employee);
  std::string TerminalPrefix(const TRegConnection& terminal) const;

  void ReportCard(const TRegConnection& terminal, const CardOutcome& outcome,
                  const std::string& shownText,
                  std::chrono::steady_clock::time_point submitted) const;

  TerminalScreen& screen_;
  ProductionRequests& production_;
  ReceivedWriter addReceived_;
  ReceivedWriter writeLog_;
  ServerActivity* activity_ = nullptr;
  Answered answered_;
};

}  // namespace mts
