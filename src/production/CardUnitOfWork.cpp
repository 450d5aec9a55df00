#include "production/CardUnitOfWork.h"

#include <stdexcept>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts {

void CardUnitOfWork::DefinirConexao(db::Connection& connection) {
  connection_ = &connection;
  lock_.DefinirConexao(connection);
}

TRetorno CardUnitOfWork::Executar(const std::vector<std::string>& keys, const Work& work) {
  if (connection_ == nullptr) throw std::logic_error("card unit of work has no connection");
  for (int attempt = 1;; ++attempt) {
    try {
      return ExecutarUmaVez(keys, work);
    } catch (const db::DatabaseError& error) {
      if (!error.conflict() || attempt == kAttempts || AindaSegura(error)) throw;
    }
  }
}

TRetorno CardUnitOfWork::ExecutarUmaVez(const std::vector<std::string>& keys, const Work& work) {
  db::Transaction transaction(*connection_);
  const std::optional<db::Timestamp> agora = lock_.Travar(keys);
  const ServerClock::HoraDaFicha horaDaFicha(agora ? relogio_ : nullptr,
                                             agora.value_or(db::Timestamp{}));
  TRetorno answer = work();
  transaction.commit();
  return answer;
}

bool CardUnitOfWork::AindaSegura(const db::DatabaseError& conflict) {
  if (conflict.concurrentTransaction() == 0) return false;
  try {
    return !connection_
                ->query(
                    "select MON$TRANSACTION_ID from MON$TRANSACTIONS "
                    "where MON$TRANSACTION_ID = :ID",
                    {{"ID", conflict.concurrentTransaction()}})
                .empty();
  } catch (const db::DatabaseError&) {
    // Unknown: taken as still held, so that the card is answered now rather
    // than after another lock timeout.
    return true;
  }
}

}  // namespace mts
