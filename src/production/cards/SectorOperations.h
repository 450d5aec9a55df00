#pragma once

#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"
#include "production/TDadosAtuProducao.h"

namespace mts {

// Operations a card must go through in a sector (PRODUCAO_OP_SETOR), each
// recorded per card or sub-card as one PRODUCAO_SETOR_OPERACAO row, and the
// sector names used in messages. The connection is borrowed and must outlive
// this.
class SectorOperations {
 public:
  SectorOperations();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // Loads the recorded operations of the request's card (or sub-card) in its
  // sector into cdsProdSetorOperacao.
  void AbrirProdSetorOperacao(const TDadosAtuProducao& dados);
  // Records the request's operation, committed on its own, unless it is
  // already recorded. A row the database refuses throws and is not counted as
  // recorded.
  void GravarProdSetorOperacao(const TDadosAtuProducao& dados);
  // True when every operation the card needs in the sector is among the
  // operations loaded by the last AbrirProdSetorOperacao.
  bool OperacoesSetorConcluidas(const TDadosAtuProducao& dados);
  // NOME_SE of the sector; empty when there is no such sector.
  std::string NomeSetor(const std::string& codigo);

  // The operations loaded by the last AbrirProdSetorOperacao.
  TVNClientDataSet& ProdSetorOperacao() { return cdsProdSetorOperacao; }

 private:
  TVNClientDataSet cdsProdSetorOperacao;  // the card's recorded operations in its sector
  ModuleQuery sqlOperacaoFicha;
  ModuleQuery sqlNomeSetor;
};

}  // namespace mts
