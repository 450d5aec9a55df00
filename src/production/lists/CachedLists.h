#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"

namespace mts {

// The sector and employee lists the production module keeps in memory. The
// connection is borrowed and must outlive the lists.
//
// Sectors are few and read by every card, so they are reloaded whole at each
// card. The employee list grows with every employee the factory ever had, so a
// card only marks it stale and it is reloaded at its next use: nothing in the
// card path reads it (badges and names in messages are read by key).
class CachedLists {
 public:
  CachedLists();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // Reopens cdsSetor and cdsFunc.
  void AtualizarCadastros();
  // The refresh a card makes: reopens cdsSetor and marks cdsFunc stale.
  void AtualizarParaFicha();
  // The refresh validation makes: reopens cdsSetor, unless the card being
  // validated has just reloaded it in AtualizarParaFicha and nothing has been
  // validated since. Identification only reads, so a second reload
  // microseconds later would read the same rows at the cost of a query per card.
  void AtualizarSetoresParaValidacao();
  // The card refreshed by AtualizarParaFicha will not be validated: the next
  // validation reloads the sectors.
  void DescartarSetoresDaFicha() { setoresRecemCarregados_ = false; }
  // Name of the employee with that code, active or not; empty when none. Uses
  // the employee list as of the last AtualizarCadastros, or as of its first use
  // after a card.
  std::string NomeFuncionario(const std::string& codigo);

  TVNClientDataSet cdsSetor;  // production-sequence sectors, by ORDEM_SE
  TVNClientDataSet cdsFunc;   // every employee, index CODIGO_FU

 private:
  void ReabrirSetores();

  bool funcionariosDesatualizados_ = false;
  bool setoresRecemCarregados_ = false;  // by AtualizarParaFicha, not yet used by validation
};

}  // namespace mts
