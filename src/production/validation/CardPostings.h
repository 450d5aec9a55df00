#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/firebird/Connection.h"

namespace mts {

// The postings of one card: its PRODUCAO_SETOR rows, loaded into a client
// dataset that validation searches and recording changes.
//
// AbrirProdSetor loads the rows of programme and card, narrowed by
//  - the sub-card, when possuiSubFicha (otherwise every sub-card of the card);
//  - the sector, when it is not empty (validation passes none, recording its
//    posting sector);
//  - the sub-production id, when it is above 0.
// The rows come in the database's own order (there is no ordering clause), so
// "the first row of a sector" is the first in that order. Every row carries the
// table's columns (PROG_PS ... DATA_BAIXA_MANUAL_PS, ID_PS) and SETOR_AGRUP,
// the SETOR_AGRUP_SE of its sector through a join, which is never written back.
//
// cdsProdSetor() is the loaded dataset. Its key is ID_PS: an edited row is
// updated by "where ID_PS = ..." alone and a new row is inserted with the
// columns given a value; applyUpdates() commits on its own when no transaction
// is open. Each load closes the dataset first, which drops anything not applied.
//
// The connection (given at construction or by DefinirConexao) is borrowed and
// must outlive this object. Database errors propagate as db::DatabaseError.
class CardPostings {
 public:
  CardPostings();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();
  explicit CardPostings(db::Connection& connection);
  CardPostings(const CardPostings&) = delete;
  CardPostings& operator=(const CardPostings&) = delete;

  void DefinirConexao(db::Connection& connection);

  void AbrirProdSetor(const std::string& prog, const std::string& ficha, const std::string& setor,
                      std::int32_t idSubProd, const std::string& subFicha, bool possuiSubFicha);

  TVNClientDataSet& cdsProdSetor() { return cdsProdSetor_; }
  const TVNClientDataSet& cdsProdSetor() const { return cdsProdSetor_; }

  // Makes the first loaded row of that sector the current row; false (current
  // row unchanged) when there is none.
  bool LocalizarSetor(const std::string& setor);

  // A whole card's request (no sub-card, no sub-production) loads every
  // posting of the card, whatever its sector, so during one validation a
  // single load answers the earlier checks' questions about single sectors
  // instead of a read per sector. While a ValidationScope lives,
  // CarregarFichaInteira loads the rows as validation's AbrirProdSetor does,
  // unless they are loaded already since the scope began (or since the last
  // AbrirProdSetor); it returns false, loading nothing, for any other request
  // and outside a validation, where nothing is kept from one call to the next.
  //
  // A validation that accepts the card calls ManterParaGravacao: the whole
  // card's rows it loaded then stay for that card's recording
  // (PostagensDoSetor), read once for both inside the card's unit of work.
  class ValidationScope {
   public:
    explicit ValidationScope(CardPostings& postagens) : postagens_(postagens) {
      postagens_.validando_ = true;
      postagens_.fichaInteira_ = false;
      postagens_.guardadas_.reset();
    }
    ~ValidationScope() {
      if (manter_ && postagens_.fichaInteira_) postagens_.guardadas_ = postagens_.carregadas_;
      postagens_.validando_ = false;
      postagens_.fichaInteira_ = false;
    }
    ValidationScope(const ValidationScope&) = delete;
    ValidationScope& operator=(const ValidationScope&) = delete;

    void ManterParaGravacao() { manter_ = true; }

   private:
    CardPostings& postagens_;
    bool manter_ = false;
  };
  bool CarregarFichaInteira(const std::string& prog, const std::string& ficha,
                            std::int32_t idSubProd, bool possuiSubFicha);
  // Over the whole card's rows, with the database's comparison of texts
  // (trailing blanks do not count): whether the sector posted the card, and
  // how many of its rows there are of a sub-card (SUBFICHA_PS other than
  // "0000"). The current row is the first one afterwards.
  bool PostadaNoSetor(const std::string& setor);
  int SubfichasNoSetor(const std::string& setor);

  // The card's rows in one sector, as AbrirProdSetor with that sector loads
  // them, for the recording of a posting. When the last validation accepted
  // this same whole card and kept its rows, they are taken from there (once:
  // the next call reads again); otherwise they are read, and the dataset then
  // holds them.
  std::vector<db::Row> PostagensDoSetor(const std::string& prog, const std::string& ficha,
                                        const std::string& setor, std::int32_t idSubProd,
                                        const std::string& subFicha, bool possuiSubFicha);

 private:
  TVNClientDataSet cdsProdSetor_;
  using Ficha = std::pair<std::string, std::string>;  // programme, card

  bool validando_ = false;
  bool fichaInteira_ = false;
  Ficha carregadas_;                // the whole card whose rows are loaded
  std::optional<Ficha> guardadas_;  // kept by an accepting validation
};

}  // namespace mts
