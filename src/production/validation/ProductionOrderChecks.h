#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"
#include "production/ProductionParameters.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"

namespace mts {

// The state of the production order around a card: operation cards of the
// sector still unposted, a closed programme, a raw-material requisition still
// pending, an operation card already posted, and the card's total of pairs.
//
// The request, the parameters and the connection are borrowed and must outlive
// this object. Checks return a boolean and write `mensagem` only when they
// refuse; nothing is written to the database; database errors propagate.
class ProductionOrderChecks {
 public:
  ProductionOrderChecks(const ProductionParameters& parametros, TDadosAtuProducao& dados);
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // Sucesso true when no operation of the card in the sector lacks its posted
  // operation (under any sub-card).
  TRetorno VerificarFichaOpSetor(const std::string& prog, const std::string& ficha,
                                 const std::string& setor);
  // True (a refusal) when the programme is closed and closed programmes block
  // postings.
  bool ProgEncerrada(const std::string& prog, std::string& mensagem);
  bool ValidarBxReqMPrima(const std::string& setor, const std::string& prog,
                          const std::string& ficha, std::string& mensagem);
  // `operacoes` holds the card's recorded operations in the request's sector,
  // as AbrirProdSetorOperacao loads them (index PROG;FICHA;SUBFICHA;SETOR;
  // OPERACAO). Not yet recorded: true, with Qtde set to TotalParesFicha.
  bool ValidarFichaOperacao(TVNClientDataSet& operacoes, std::string& mensagem);
  // Pairs of the sub-card (SUBPROD) or of the whole card (its order items'
  // grade); 0 when there are none.
  double TotalParesFicha();

 private:
  const ProductionParameters& parametros_;
  TDadosAtuProducao& dados_;

  ModuleQuery sqlFichaOpSetor;
  ModuleQuery sqlProgEncerrada;
  ModuleQuery sqlBxReqSetorMp;
  ModuleQuery sqlTotPares;  // text chosen at each use
};

}  // namespace mts
