#pragma once

#include "dataaccess/Connection.h"
#include "production/TDadosAtuProducao.h"
#include "production/recording/ItemRelease.h"
#include "production/recording/SectorPostingRecorder.h"
#include "production/recording/StockPosting.h"

namespace mts {

// Records one accepted card: its posting in the sector, then the release of a
// box label's order item or the stock posting of the card, then the stock
// status of the card's items.
//
// Everything borrowed must outlive this object.
class CardRecording {
 public:
  CardRecording(SectorPostingRecorder& producaoSetor, ItemRelease& liberacao,
                StockPosting& estoque);
  CardRecording(const CardRecording&) = delete;
  CardRecording& operator=(const CardRecording&) = delete;

  void DefinirConexao(db::Connection& connection) { connection_ = &connection; }

  // Records the card of `dados` whole or not at all: every step runs in one
  // read-committed transaction that waits on locks, committed once at the
  // end. Any exception rolls all of it back and goes on to the caller.
  void GravarAtuProducao(const TDadosAtuProducao& dados);

 private:
  db::Connection* connection_ = nullptr;
  SectorPostingRecorder& producaoSetor_;
  ItemRelease& liberacao_;
  StockPosting& estoque_;
};

}  // namespace mts
