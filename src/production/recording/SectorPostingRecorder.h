#pragma once

#include <vector>

#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "production/TDadosAtuProducao.h"
#include "production/validation/CardPostings.h"

namespace mts {

// Writes a card's posting in its sector: one PRODUCAO_SETOR row change. The
// card's postings are loaded through the module's CardPostings, the same load
// validation uses, restricted to the sector. The connection and the postings
// are borrowed and must outlive the recorder.
class SectorPostingRecorder {
 public:
  explicit SectorPostingRecorder(CardPostings& postings) : postings_(postings) {}
  SectorPostingRecorder(const SectorPostingRecorder&) = delete;
  SectorPostingRecorder& operator=(const SectorPostingRecorder&) = delete;
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection) { connection_ = &connection; }

  // Takes the card's postings in the sector (CardPostings::PostagensDoSetor:
  // those the accepting validation read, or read anew) and then inserts the posting's
  // row, or sets the exit date and hour on the open row of an entry/exit
  // posting (see EscolherAlteracao). Runs in the connection's open transaction
  // when there is one. Raises when the database refuses the change, when it
  // changes no row, and when the request names other date or hour columns
  // than the posting's own. Returns true when it completed an exit.
  bool GravarProducaoSetor(const TDadosAtuProducao& dados);

 private:
  db::Connection& conexao() const;

  CardPostings& postings_;
  db::Connection* connection_ = nullptr;
};

}  // namespace mts
