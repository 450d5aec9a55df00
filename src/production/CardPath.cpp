#include "production/CardPath.h"

namespace mts {

namespace {

// The checks and recording of one identified card, run (and on a conflict run
// again) inside the card's unit of work. `request` is a copy: a run that a
// conflict cut short leaves nothing in the card as identified for the next.
TRetorno CheckAndRecord(CardSteps& steps, TDadosAtuProducao request, std::string& postedKind) {
  steps.CurrentRequest() = request;
  TRetorno validated = steps.ValidaAtuProducao();
  if (!validated.Sucesso) return {false, validated.Mensagem};
  // Validation has completed the request (time, quantity, columns to fill).
  request = steps.CurrentRequest();

  if (request.TipoAtualizacao != "O") {
    if (request.FichaCorte) {
      steps.GravarFichaCorteAtuSetor(request.DataHora);
    } else {
      steps.GravarAtuProducao();
    }
    postedKind = request.TipoAtualizacao;
    return {true, ""};
  }

  // An operation card records its operation; the one that completes the
  // sector's operations posts the card (or sub-card) itself.
  steps.GravarProdSetorOperacao();
  if (steps.OperacoesSetorConcluidas()) {
    // Assigned from a string, not from the literal: GCC 12 at -O2 inlines the
    // literal's copy and reports an overlap that cannot happen (-Wrestrict).
    request.TipoAtualizacao = std::string(request.PossuiSubFicha ? "S" : "F");
    request.Operacao.clear();
    steps.CurrentRequest() = request;
    validated = steps.ValidaAtuProducao();
    if (!validated.Sucesso) return {false, validated.Mensagem};
    steps.GravarAtuProducao();
  }
  postedKind = request.TipoAtualizacao;
  return {true, ""};
}

void IdentifyAndRecord(CardSteps& steps, const CardRequest& request, CardOutcome& outcome) {
  TDadosAtuProducao card;
  std::string message;
  if (!steps.IdentificarFicha(request.code, request.employeeSector, card, message)) {
    outcome.answer = {false, message};
    return;
  }
  outcome.sector = card.Setor;
  outcome.cardKind = card.TipoAtualizacao;
  card.Funcionario = request.employeeCode;

  std::string postedKind;
  outcome.answer =
      steps.ExecutarFicha(card, [&] { return CheckAndRecord(steps, card, postedKind); });
  if (outcome.answer.Sucesso) outcome.postedKind = postedKind;
}

}  // namespace

CardOutcome PostCard(CardSteps& steps, const CardRequest& request) {
  CardOutcome outcome;
  try {
    IdentifyAndRecord(steps, request, outcome);
  } catch (const std::exception&) {
    outcome.answer = {};
    outcome.postedKind.clear();
    outcome.failure = std::current_exception();
  }
  return outcome;
}

}  // namespace mts
