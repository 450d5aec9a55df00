#pragma once

// Fake steps of a card's path: every step records its call and answers as
// the test sets it up.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "production/CardPath.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"

namespace mts::test {

class FakeCardSteps : public CardSteps {
 public:
  // What IdentificarFicha answers for a code.
  struct Card {
    TDadosAtuProducao request;  // the card members it fills
    std::string refusal;        // not empty: identification refuses with it
  };

  bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem) override {
    calls.push_back("IdentificarFicha " + codigo + " " + setorFuncionario);
    const auto found = cards.find(codigo);
    if (found == cards.end()) {
      mensagem = "Ficha " + codigo + " n\xE3o encontrada.";
      return false;
    }
    if (!found->second.refusal.empty()) {
      mensagem = found->second.refusal;
      return false;
    }
    dados = found->second.request;
    return true;
  }

  // Runs the work `runsPerUnit` times (as a conflict would have it run again)
  // and answers what the last run answered; `units` keeps each card it was
  // given.
  TRetorno ExecutarFicha(const TDadosAtuProducao& ficha,
                         const std::function<TRetorno()>& checksAndRecording) override {
    units.push_back(ficha);
    TRetorno answer;
    for (int run = 0; run < runsPerUnit; ++run) answer = checksAndRecording();
    return answer;
  }

  // Answers with the next of `verdicts` (success once they run out) and
  // records the request it was given; `complete` may fill it in first.
  TRetorno ValidaAtuProducao() override {
    calls.push_back("ValidaAtuProducao " + current.TipoAtualizacao);
    validated.push_back(current);
    if (complete) complete(current);
    if (verdicts.empty()) return {true, ""};
    TRetorno verdict = verdicts.front();
    verdicts.pop_front();
    return verdict;
  }

  void GravarAtuProducao() override { Write("GravarAtuProducao"); }
  void GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) override {
    Write("GravarFichaCorteAtuSetor");
    cutCardTimes.push_back(dataHora);
  }
  void GravarProdSetorOperacao() override { Write("GravarProdSetorOperacao"); }
  bool OperacoesSetorConcluidas() override {
    calls.push_back("OperacoesSetorConcluidas");
    return operationsComplete;
  }
  TDadosAtuProducao& CurrentRequest() override { return current; }

  std::map<std::string, Card> cards;
  std::deque<TRetorno> verdicts;
  std::function<void(TDadosAtuProducao&)> complete;
  bool operationsComplete = true;
  int runsPerUnit = 1;
  std::vector<TDadosAtuProducao> units;
  // Called by every writer before it records its call; may throw.
  std::function<void(const std::string& writer)> onWrite;

  TDadosAtuProducao current;
  std::vector<std::string> calls;
  std::vector<TDadosAtuProducao> validated;
  std::vector<db::Timestamp> cutCardTimes;

 private:
  void Write(const std::string& writer) {
    if (onWrite) onWrite(writer);
    calls.push_back(writer);
  }
};

}  // namespace mts::test
