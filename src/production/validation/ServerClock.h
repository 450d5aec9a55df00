#pragma once

#include <optional>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"

namespace mts {

// The database server's clock: every posting is dated by the server, never by
// the machine this program runs on.
//
// The connection is borrowed (DefinirConexao) and must outlive this object.
class ServerClock {
 public:
  ServerClock();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // The server's current time; the zero timestamp when CONFIG has no row.
  // While a card's time is set (HoraDaFicha), that time, without a read.
  db::Timestamp DataHoraServidor();

  // The database's time read by the statement that locked a card, for as long
  // as the card's unit of work lives: the card is dated by the moment it got
  // its turn, and no statement of its own is spent on the clock.
  class HoraDaFicha {
   public:
    HoraDaFicha(ServerClock* relogio, const db::Timestamp& agora) : relogio_(relogio) {
      if (relogio_ != nullptr) relogio_->horaDaFicha_ = agora;
    }
    ~HoraDaFicha() {
      if (relogio_ != nullptr) relogio_->horaDaFicha_.reset();
    }
    HoraDaFicha(const HoraDaFicha&) = delete;
    HoraDaFicha& operator=(const HoraDaFicha&) = delete;

   private:
    ServerClock* relogio_;
  };

 private:
  ModuleQuery sqlDataHora_Servidor;
  std::optional<db::Timestamp> horaDaFicha_;
};

}  // namespace mts
