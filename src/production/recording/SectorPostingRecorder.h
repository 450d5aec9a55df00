#pragma once

#include "dataaccess/Connection.h"
#include "production/ModuleQuery.h"
#include "production/TDadosAtuProducao.h"

namespace mts {

// Writes a card's posting in its sector: one PRODUCAO_SETOR row change.
// The connection is borrowed and must outlive the recorder.
class SectorPostingRecorder {
 public:
  SectorPostingRecorder() = default;
  SectorPostingRecorder(const SectorPostingRecorder&) = delete;
  SectorPostingRecorder& operator=(const SectorPostingRecorder&) = delete;

  void DefinirConexao(db::Connection& connection) { connection_ = &connection; }

  // Reloads the card's postings in the sector and then inserts the posting's
  // row, or sets the exit date and hour on the open row of an entry/exit
  // posting (see EscolherAlteracao). Runs in the connection's open transaction
  // when there is one. Raises when the database refuses the change, when it
  // changes no row, and when the request names other date or hour columns
  // than the posting's own.
  void GravarProducaoSetor(const TDadosAtuProducao& dados);

 private:
  void AbrirProdSetor(const TDadosAtuProducao& dados);

  db::Connection& conexao() const;

  db::Connection* connection_ = nullptr;
  ModuleQuery sqlProdSetor{""};
};

}  // namespace mts
