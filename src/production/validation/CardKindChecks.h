#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/ResultSet.h"
#include "production/TDadosAtuProducao.h"
#include "production/validation/CardPostings.h"
#include "production/validation/SectorGroups.h"

namespace mts {

// The checks that depend on what was scanned (main card, sub-card, box label,
// sub-production label) and the quantity of pairs each kind posts. They keep a
// main card and its parts from being posted over one another in a sector.
//
// Functions named as questions ("...Baixada", "PossuiSubfichas") return true
// for a refusal; the others return true when the card passes. Either writes
// `mensagem` only when it refuses. The request (whose Qtde is set here), the
// sector groups and the connection are borrowed and must outlive this object.
// Nothing is written to the database.
class CardKindChecks {
 public:
  CardKindChecks(SectorGroups& grupos, TDadosAtuProducao& dados);
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);
  // The card's postings, when a whole card's rows answer for its sector
  // (borrowed; without them the sector's sub-cards are counted by a read).
  void UsarPostagens(CardPostings& postagens) { postagens_ = &postagens; }

  // Main card: it exists (Qtde := its QTDE_PR, 0 when missing).
  bool ValidarProgFicha(std::string& mensagem);
  bool SubfichasBaixadas(std::string& mensagem);
  bool PossuiSubfichas(std::string& mensagem);
  // Every other kind: the main card is posted in the sector or, when the sector
  // heads a group or belongs to one, in a member of that group.
  bool FichaPrincipalBaixada(const std::string& grupo, std::string& mensagem);
  // Box label, given the box row found by its code: talão printed, box not
  // cancelled, not posted yet; Qtde := QTDEPAR_CX.
  bool ValidarCaixa(const db::Row& caixa, std::string& mensagem);
  // Sub-production label, given its row: not posted yet; Qtde := its qtde_pr.
  bool ValidarSubProducao(const db::Row& subProducao, std::string& mensagem);
  // The whole sub-card, or this box or sub-production (or one of the other
  // way of posting parts of it) is already posted in the sector. In entry/exit
  // mode a box or sub-production whose own row in the sector has its entry and
  // no exit is not: this posting records that exit.
  bool SubfichaJaBaixada(std::string& mensagem);
  // Sub-card: it exists (Qtde := its pairs, 0 when missing).
  bool ValidarSubFicha(std::string& mensagem);

 private:
  // This box or sub-production has a row in the sector without its exit.
  bool SaidaPendente();
  bool fichaPrincipalBaixadaNoSetor(const std::string& setor, std::string& funcionario);
  void abrirPostagensSubFicha(const std::string& filtro);

  SectorGroups& grupos_;
  TDadosAtuProducao& dados_;
  CardPostings* postagens_ = nullptr;

  ModuleQuery sqlProg;
  ModuleQuery sqlSubFichaProdSetor;
  ModuleQuery sqlSubFicha;
  ModuleQuery sqlFichaProdSetor;
  ModuleQuery sqlSubP;
  ModuleQuery sqlSubProd;  // text built at each use
};

}  // namespace mts
