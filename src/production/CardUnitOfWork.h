#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "production/CardLock.h"
#include "production/TRetorno.h"
#include "production/validation/ServerClock.h"

namespace mts {

// Runs a card's checks and recording as one unit of work that no other writer
// of the same card (another server, a second terminal of this one) can split
// or double: one read-write, read-committed transaction that waits on locks
// (for at most the connection's lock timeout), whose first statements lock the
// card's keys (CardLock). Every other writer of the card waits until the
// transaction ends and then sees what it recorded.
//
// A conflict inside it (an update conflict or deadlock with a transaction that
// has ended meanwhile) rolls everything back and runs the work again from the
// start, up to kAttempts runs in all: the next run sees what the other writer
// committed and answers accordingly. A conflict with a transaction that still
// holds the row (a lock wait that ran out: a person editing the row in another
// program) is not run again: the wait has already taken the lock timeout.
class CardUnitOfWork {
 public:
  static constexpr int kAttempts = 3;
  // The card's checks and recording: an answer (posted, or refused with the
  // reason), or an exception when something failed.
  using Work = std::function<TRetorno()>;

  void DefinirConexao(db::Connection& connection);
  // The clock that dates the card: while the work runs, it answers with the
  // database's time read by the lock statement instead of reading it again.
  void DefinirRelogio(ServerClock& relogio) { relogio_ = &relogio; }

  // Commits what the work did when it answers, refused or not (a refusal
  // writes nothing, except an operation card's operation recorded before the
  // card it completes was refused, which stays). Any exception rolls the
  // whole unit back and goes on to the caller.
  TRetorno Executar(const std::vector<std::string>& keys, const Work& work);

 private:
  TRetorno ExecutarUmaVez(const std::vector<std::string>& keys, const Work& work);
  // True when the transaction the conflict names is still running.
  bool AindaSegura(const db::DatabaseError& conflict);

  db::Connection* connection_ = nullptr;
  ServerClock* relogio_ = nullptr;
  CardLock lock_;
};

}  // namespace mts
