#include "server/CardSubmission.h"

#include <utility>

#include "dataaccess/firebird/DatabaseError.h"
#include "routines/Windows1252Text.h"
#include "server/FailureWords.h"
#include "server/RewriteCardCode.h"

namespace mts {

namespace {

constexpr std::size_t kNameLength = 20;
// "CRACHA:" takes 7 columns; the cursor goes one past the echoed badge.
constexpr int kBadgeCursorOffset = 8;
// "FICHA:" takes 6 columns; the cursor goes right after the echoed code.
constexpr int kCardCursorOffset = 6;
constexpr int kBadgeRow = 0;
constexpr int kCardRow = 1;

constexpr const char* kBadgeRefused = "FUNC. NAO LOCALIZADO";
constexpr const char* kBadgeFailed = "FUNC. NAO VERIFICADO";
constexpr const char* kCardRefused = "FICHA NAO ATUALIZADA";
// The link went while the card's commit was under way: it may be posted. A
// second pass of the card tells (a card posted already is refused by name).
constexpr const char* kCardUnconfirmed = "FICHA NAO CONFIRMADA";

// Hands what failed to `handle`. Every failure production reports is a
// std::exception; anything else goes on to the server's error handler.
template <typename Handler>
void WithError(const std::exception_ptr& failure, Handler handle) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    handle(error);
  }
}

}  // namespace

CardSubmission::CardSubmission(TerminalScreen& screen, ProductionRequests& production,
                               ReceivedWriter addReceived, ReceivedWriter writeLog)
    : screen_(screen),
      production_(production),
      addReceived_(std::move(addReceived)),
      writeLog_(std::move(writeLog)) {}

std::string CardSubmission::TerminalPrefix(const TRegConnection& terminal) const {
  return "Terminal " + std::to_string(terminal.TerminalNumber) + " - ";
}

void CardSubmission::SubmitInput(TRegConnection& terminal) {
  // Taken by value: the flows below change Input.
  const std::string entry = terminal.Input;
  if (terminal.State == TerminalState::WaitingBadge) {
    SubmitBadge(terminal, entry);
  } else {
    SubmitCard(terminal, entry);
  }
}

void CardSubmission::SubmitBadge(TRegConnection& terminal, const std::string& badge) {
  terminal.Busy = true;
  const std::weak_ptr<TerminalConnection> connection = terminal.Connection;
  production_.LookUpBadge(badge, [this, &terminal, connection, badge](BadgeOutcome employee) {
    terminal.Busy = false;
    if (StillConnectedTo(terminal, connection)) {
      AnswerBadge(terminal, badge, employee);
    } else if (employee.failure) {
      // Nobody is left to tell; the failure still goes to the log.
      WithError(employee.failure, [&](const std::exception& error) {
        ReportFailure(error, TerminalPrefix(terminal) + "Funcionario " + badge +
                                 " nao verificado. Erro: " + FailureDetail(error));
      });
    }
    if (answered_) answered_(terminal);
  });
}

void CardSubmission::AnswerBadge(TRegConnection& terminal, const std::string& badge,
                                 const BadgeOutcome& employee) {
  if (employee.failure) {
    WithError(employee.failure,
              [&](const std::exception& error) { FailBadge(terminal, badge, error); });
    return;
  }
  if (!employee.found) {
    if (terminal.HasLeds) screen_.RedLed(terminal, LedMode::On);
    addReceived_(TerminalPrefix(terminal) + "Funcionario " + badge + " nao localizado.");
    screen_.ShowResult(terminal, kBadgeRefused);
    screen_.PositionCursor(terminal, kBadgeRow,
                           static_cast<int>(badge.size()) + kBadgeCursorOffset);
    if (activity_) activity_->badgeResult(terminal.TerminalNumber, false, kBadgeRefused);
    return;
  }
  if (activity_) activity_->badgeResult(terminal.TerminalNumber, true, "");

  if (!terminal.HasLeds) {
    LogIn(terminal, badge, employee);
    return;
  }
  // The employee's data is copied into the continuation: nothing read from
  // production is used after the event loop has run in between.
  const TerminalSettings& settings = screen_.Settings();
  screen_.BlinkLed(terminal, Led::Green, settings.GreenLedRepeats, settings.GreenLedTime,
                   [this, &terminal, badge, employee] { LogIn(terminal, badge, employee); });
}

void CardSubmission::FailBadge(TRegConnection& terminal, const std::string& badge,
                               const std::exception& error) {
  if (terminal.HasLeds) screen_.RedLed(terminal, LedMode::On);
  terminal.PendingError = FailureWords(error);
  const std::string line = TerminalPrefix(terminal) + "Funcionario " + badge +
                           " nao verificado. Erro: " + FailureDetail(error);
  addReceived_(line);
  ReportFailure(error, line);
  screen_.ShowResult(terminal, kBadgeFailed);
  screen_.PositionCursor(terminal, kBadgeRow, static_cast<int>(badge.size()) + kBadgeCursorOffset);
  if (activity_) activity_->badgeResult(terminal.TerminalNumber, false, kBadgeFailed);
}

void CardSubmission::LogIn(TRegConnection& terminal, const std::string& badge,
                           const BadgeOutcome& employee) {
  terminal.EmployeeCode = employee.code;
  terminal.EmployeeName = text::FirstChars(employee.name, kNameLength);
  terminal.EmployeeSector = employee.sector;
  terminal.Input.clear();
  terminal.State = TerminalState::WaitingCard;
  screen_.ClearLine(terminal, kBadgeRow);
  addReceived_(TerminalPrefix(terminal) + "Funcionario: " + badge + " " + terminal.EmployeeName);
  screen_.ShowCardPrompt(terminal);
}

void CardSubmission::SubmitCard(TRegConnection& terminal, const std::string& typedCode) {
  const auto submitted = std::chrono::steady_clock::now();
  const std::string code = RewriteCardCode(typedCode);
  terminal.Busy = true;
  const std::weak_ptr<TerminalConnection> connection = terminal.Connection;
  production_.PostCard(
      {code, terminal.EmployeeCode, terminal.EmployeeSector},
      [this, &terminal, connection, typedCode, code, submitted](CardOutcome outcome) {
        terminal.Busy = false;
        if (StillConnectedTo(terminal, connection)) {
          AnswerCard(terminal, typedCode, code, outcome, submitted);
        } else {
          LogUnseenCard(terminal, code, outcome, submitted);
        }
        if (answered_) answered_(terminal);
      });
}

void CardSubmission::AnswerCard(TRegConnection& terminal, const std::string& typedCode,
                                const std::string& code, const CardOutcome& outcome,
                                std::chrono::steady_clock::time_point submitted) {
  if (outcome.failure) {
    WithError(outcome.failure, [&](const std::exception& error) {
      FailCard(terminal, typedCode, code, outcome, error, submitted);
    });
    return;
  }
  if (outcome.answer.Sucesso) {
    terminal.CardKind = outcome.postedKind;
    if (terminal.HasLeds) screen_.GreenLed(terminal, LedMode::On);
    screen_.ShowCardPrompt(terminal);
    screen_.ShowResult(terminal, SuccessText(terminal.CardKind));
    screen_.PositionCursor(terminal, kCardRow, kCardCursorOffset);
    addReceived_(TerminalPrefix(terminal) + "Ficha " + code + " atualizada.");
    ReportCard(terminal, outcome, SuccessText(terminal.CardKind), submitted);
    return;
  }
  RefuseCard(terminal, typedCode, outcome, outcome.answer.Mensagem,
             TerminalPrefix(terminal) + "Ficha " + code +
                 " nao atualizada. Erro: " + outcome.answer.Mensagem,
             submitted);
}

void CardSubmission::LogUnseenCard(TRegConnection& terminal, const std::string& code,
                                   const CardOutcome& outcome,
                                   std::chrono::steady_clock::time_point submitted) {
  // The terminal closed or connected again while its card ran: nothing goes
  // to its screen, but what became of the card is still told.
  std::string line = TerminalPrefix(terminal) + "Ficha " + code;
  if (outcome.failure) {
    WithError(outcome.failure, [&](const std::exception& error) {
      line += (OutcomeUnknown(error) ? " sem confirmacao. Erro: " : " nao atualizada. Erro: ") +
              FailureDetail(error);
      ReportFailure(error, line);
    });
  } else if (outcome.answer.Sucesso) {
    line += " atualizada.";
    if (writeLog_) writeLog_(line);
  } else {
    line += " nao atualizada. Erro: " + outcome.answer.Mensagem;
  }
  addReceived_(line);
  ReportCard(terminal, outcome,
             outcome.answer.Sucesso ? SuccessText(outcome.postedKind) : kCardRefused, submitted);
}

void CardSubmission::RefuseCard(TRegConnection& terminal, const std::string& typedCode,
                                const CardOutcome& outcome, const std::string& detail,
                                const std::string& receivedLine,
                                std::chrono::steady_clock::time_point submitted,
                                const char* shownText) {
  if (terminal.HasLeds) screen_.RedLed(terminal, LedMode::On);
  terminal.PendingError = detail;
  screen_.ShowResult(terminal, shownText);
  addReceived_(receivedLine);
  // The cursor follows the code as it was typed and echoed, not as rewritten.
  screen_.PositionCursor(terminal, kCardRow,
                         static_cast<int>(typedCode.size()) + kCardCursorOffset);
  ReportCard(terminal, outcome, shownText, submitted);
}

void CardSubmission::FailCard(TRegConnection& terminal, const std::string& typedCode,
                              const std::string& code, const CardOutcome& outcome,
                              const std::exception& error,
                              std::chrono::steady_clock::time_point submitted) {
  const bool unknown = OutcomeUnknown(error);
  const std::string line = TerminalPrefix(terminal) + "Ficha " + code +
                           (unknown ? " sem confirmacao. Erro: " : " nao atualizada. Erro: ") +
                           FailureDetail(error);
  ReportFailure(error, line);
  RefuseCard(terminal, typedCode, outcome, FailureWords(error), line, submitted,
             unknown ? kCardUnconfirmed : kCardRefused);
}

void CardSubmission::ReportFailure(const std::exception& error, const std::string& line) {
  if (writeLog_) writeLog_(line);
  const auto* database = dynamic_cast<const db::DatabaseError*>(&error);
  if (database != nullptr && activity_ != nullptr) {
    activity_->databaseError(FailureDetail(error), !database->connectionLost());
  }
}

void CardSubmission::ReportCard(const TRegConnection& terminal, const CardOutcome& outcome,
                                const std::string& shownText,
                                std::chrono::steady_clock::time_point submitted) const {
  if (!activity_) return;
  const bool posted = !outcome.failure && outcome.answer.Sucesso;
  CardResult result;
  result.terminal = terminal.TerminalNumber;
  result.sector = outcome.sector.empty() ? terminal.EmployeeSector : outcome.sector;
  result.cardKind = posted ? outcome.postedKind : outcome.cardKind;
  result.posted = posted;
  result.latency = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - submitted);
  result.shownText = shownText;
  activity_->cardResult(result);
}

}  // namespace mts
