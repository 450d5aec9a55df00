#pragma once

#include <functional>
#include <string>

#include "production/ProductionParameters.h"
#include "production/TDadosAtuProducao.h"
#include "production/validation/CardPostings.h"
#include "production/validation/SectorGroups.h"

namespace mts {

// The last word on a posting, given every earlier posting of the card (loaded
// by CardPostings): a card is posted in one sector of a group only, and a
// sector posts a card once, or until its quantity is complete (partial
// posting), or a second time to record the exit of the same card, sub-card or
// label whose entry it recorded (entry/exit mode; see DecidirBaixaRepetida).
//
// Both checks return true when the sector may post and write `mensagem` only
// when they refuse. Everything given is borrowed and must outlive this object;
// the name look-ups give an empty name for an unknown code.
class PostingRules {
 public:
  using NameLookup = std::function<std::string(const std::string& codigo)>;

  PostingRules(CardPostings& postings, SectorGroups& grupos, const ProductionParameters& parametros,
               TDadosAtuProducao& dados, NameLookup nomeSetor, NameLookup nomeFuncionario);

  // `grupo` is the grouping sector of the request's sector (empty for none).
  bool ValidarAgrupamento(const std::string& grupo, std::string& mensagem);
  // May set CampoData/CampoHora to the entry columns (entry/exit mode, first
  // posting of the card in the sector), and Qtde to the pairs the sector still
  // misses (partial posting).
  bool ValidarBaixaRepetida(std::string& mensagem);

 private:
  // The message with the name of the employee of the current posting.
  std::string withPostingEmployee(const std::string& message);
  std::string alreadyPostedInSector();

  CardPostings& postings_;
  SectorGroups& grupos_;
  const ProductionParameters& parametros_;
  TDadosAtuProducao& dados_;
  NameLookup nomeSetor_;
  NameLookup nomeFuncionario_;
};

}  // namespace mts
