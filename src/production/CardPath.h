#pragma once

#include <exception>
#include <functional>
#include <string>

#include "dataaccess/firebird/Value.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"

namespace mts {

// An employee found behind a badge.
struct BadgeOutcome {
  bool found = false;
  std::string code;    // FUNCIONARIO.CODIGO_FU
  std::string name;    // whole, as stored
  std::string sector;  // empty when he has none
  // What failed when the look-up could not answer (a database error); null
  // otherwise, and then the members above are the answer.
  std::exception_ptr failure;
};

// A card code typed or read at a terminal, for the employee logged in there.
struct CardRequest {
  std::string code;            // already rewritten from its keypad form
  std::string employeeCode;    // becomes the posting's Funcionario
  std::string employeeSector;  // the sector of the employee at the terminal
};

// What became of a card.
struct CardOutcome {
  TRetorno answer;         // posted, or refused with the reason
  std::string postedKind;  // the kind that was posted (an operation card that
                           // completed its sector posts "F" or "S"); empty when refused
  std::string sector;      // the identified card's sector; empty when not identified
  std::string cardKind;    // the kind as identified; empty when not identified
  // What failed (a database error, a writer that failed), with nothing of the
  // card recorded; null when `answer` is the card's answer.
  std::exception_ptr failure;
};

// The steps of a card's path, as the production module offers them. The path
// copies its request in before validation and reads it back after it, so the
// steps share one current request.
class CardSteps {
 public:
  virtual ~CardSteps() = default;

  // Fills the card members of `dados` from the code; false with a message
  // when the code names no card that may be posted.
  virtual bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                                TDadosAtuProducao& dados, std::string& mensagem) = 0;
  // Runs `checksAndRecording` for the identified card as one unit of work that
  // no other writer of the same card can split or double (one transaction
  // under a lock on the card; conflicts run it again). Answers what it
  // answered; its exceptions go on to the caller with nothing recorded.
  virtual TRetorno ExecutarFicha(const TDadosAtuProducao& ficha,
                                 const std::function<TRetorno()>& checksAndRecording) = 0;
  // Validates the current request and completes it for recording.
  virtual TRetorno ValidaAtuProducao() = 0;
  // Records the current request.
  virtual void GravarAtuProducao() = 0;
  // Records the current request's cut card in its sector at that time.
  virtual void GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) = 0;
  // Records the current request's operation.
  virtual void GravarProdSetorOperacao() = 0;
  // True when every operation of the current request's card in its sector is
  // recorded.
  virtual bool OperacoesSetorConcluidas() = 0;
  // The current request.
  virtual TDadosAtuProducao& CurrentRequest() = 0;
};

// A card's whole path: identifies the code, then validates and records it for
// the employee as one unit of work (ExecutarFicha). An operation card records
// its operation; the one that completes its sector's operations is validated
// and recorded again as the whole card or sub-card. A refusal by
// identification or validation comes back in `answer`; an error thrown on the
// way comes back in `failure` (the outcome still names the card when it was
// identified), with nothing of the card recorded.
CardOutcome PostCard(CardSteps& steps, const CardRequest& request);

}  // namespace mts
