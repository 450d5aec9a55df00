#include "dataaccess/firebird/Connection.h"

#include <atomic>
#include <cctype>
#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "dataaccess/firebird/BoundedAttach.h"
#include "dataaccess/firebird/DatabaseParameters.h"
#include "dataaccess/firebird/FirebirdApi.h"
#include "dataaccess/firebird/PreparedStatement.h"
#include "dataaccess/firebird/StatementCache.h"

namespace mts::db {
namespace {

using Firebird::FbException;
using Firebird::IAttachment;
using Firebird::ITransaction;

// Read committed, newest committed version of a record, waiting on locks
// (for at most the settings' lock timeout): for the explicit transaction and
// for the one each lone statement runs in. The shared reader differs only in
// being read-only: the same records, the same waits; and a read-only
// read-committed transaction holds back no garbage collection however long it
// stays open.
enum class Access { ReadWrite, ReadOnly };

std::vector<unsigned char> transactionParameters(int lockTimeoutSeconds, Access access) {
  const unsigned char mode = access == Access::ReadOnly ? isc_tpb_read : isc_tpb_write;
  std::vector<unsigned char> tpb = {isc_tpb_version3, mode, isc_tpb_read_committed,
                                    isc_tpb_rec_version, isc_tpb_wait};
  if (lockTimeoutSeconds > 0) {
    // The value is a little-endian integer of the length given in front of it.
    const auto seconds = static_cast<std::uint32_t>(lockTimeoutSeconds);
    tpb.insert(tpb.end(),
               {isc_tpb_lock_timeout, 4, static_cast<unsigned char>(seconds),
                static_cast<unsigned char>(seconds >> 8), static_cast<unsigned char>(seconds >> 16),
                static_cast<unsigned char>(seconds >> 24)});
  }
  return tpb;
}

// Ends a transaction that failed or is abandoned. When the rollback itself
// fails (the attachment is already gone) releasing the interface is all that
// is left to do: the database undoes a transaction whose attachment is gone.
void rollbackQuietly(ITransaction*& transaction) {
  if (transaction == nullptr) return;
  fb::Status status;
  try {
    transaction->rollback(&status);  // releases the interface
  } catch (const FbException&) {
    transaction->release();
  }
  transaction = nullptr;
}

// The monitoring tables are a snapshot taken once per transaction: a lone
// statement reading them keeps a transaction of its own to see the present.
bool readsMonitoringTables(std::string_view sql) {
  for (std::size_t at = sql.find('$'); at != std::string_view::npos; at = sql.find('$', at + 1)) {
    if (at >= 3 && std::toupper(static_cast<unsigned char>(sql[at - 3])) == 'M' &&
        std::toupper(static_cast<unsigned char>(sql[at - 2])) == 'O' &&
        std::toupper(static_cast<unsigned char>(sql[at - 1])) == 'N') {
      return true;
    }
  }
  return false;
}

DatabaseError lostTransactionError() {
  return DatabaseError(
      "The connection to the database was lost inside the open transaction: its work is gone and "
      "it must be rolled back",
      true);
}

DatabaseError cancelledTransactionError() {
  return DatabaseError(
      "An operation inside the open transaction was cancelled: its work is rolled back and the "
      "transaction must be ended with a rollback",
      DatabaseError::Cause::Cancelled);
}

}  // namespace

struct Connection::Impl {
  ConnectionSettings settings;
  Firebird::IProvider* provider = fb::master()->getDispatcher();
  IAttachment* attachment = nullptr;
  ITransaction* transaction = nullptr;  // the explicit one
  // Lone SELECTs run here instead of in a transaction each: read committed
  // sees every commit made before each statement, as a fresh transaction
  // would, without a start and a commit round trip per statement.
  ITransaction* reader = nullptr;
  // Why the explicit transaction is over while still open in name: it went
  // with the link, or a cancel rolled it back. Repeated to every statement
  // until rollback().
  std::optional<DatabaseError> transactionGone;
  bool transactionFailed = false;  // work inside it failed: it may not commit
  StatementCache statements;

  // What cancelOperation() reaches from other threads, under cancelMutex: the
  // attachment through a reference of its own (so that a detach running
  // meanwhile cannot free it under the call), and an attach under way.
  std::mutex cancelMutex;
  IAttachment* cancelHandle = nullptr;
  BoundedAttach* pendingAttach = nullptr;
  // Each public operation takes the next number; a cancel marks the one
  // running as it arrived. A link that fails during a cancelled operation was
  // cut by the cancel: the operation is not run again on a new attachment.
  std::atomic<std::uint64_t> operation{0};
  std::atomic<std::uint64_t> cancelledOperation{0};

  explicit Impl(ConnectionSettings s) : settings(std::move(s)) {}
  ~Impl() {
    close();
    provider->release();
  }

  void startOperation() { ++operation; }
  bool cancelledNow() const { return cancelledOperation == operation; }

  // The error to report for `error`: a link cut during a cancelled operation
  // was cut by the cancel.
  DatabaseError failureOf(const FbException& error) const {
    DatabaseError failure = fb::toDatabaseError(error);
    if (failure.connectionLost() && cancelledNow()) {
      return DatabaseError(std::string(failure.what()) + " (the operation was cancelled)",
                           DatabaseError::Cause::Cancelled);
    }
    return failure;
  }

  void open() {
    if (attachment != nullptr) return;
    IAttachment* made = attach();
    made->addRef();
    {
      std::lock_guard lock(cancelMutex);
      attachment = made;
      cancelHandle = made;
    }
    // A cancel that came after the attach was made and before it could be
    // reached stops the operation here; the attachment stays for the next.
    if (cancelledNow()) {
      throw DatabaseError("The operation was cancelled as the connection was made",
                          DatabaseError::Cause::Cancelled);
    }
  }

  IAttachment* attach() {
    try {
      const std::vector<unsigned char> dpb = attachParameters(settings);
      if (settings.connectTimeoutSeconds > 0 && isRemoteDatabase(settings.database)) {
        return attachWithin(std::chrono::seconds(settings.connectTimeoutSeconds), dpb);
      }
      fb::Status status;
      return provider->attachDatabase(&status, settings.database.c_str(),
                                      static_cast<unsigned>(dpb.size()), dpb.data());
    } catch (const FbException& error) {
      throw fb::toDatabaseError(error);
    }
  }

  IAttachment* attachWithin(std::chrono::milliseconds timeout,
                            const std::vector<unsigned char>& dpb) {
    BoundedAttach pending(settings.database, dpb);
    {
      std::lock_guard lock(cancelMutex);
      pendingAttach = &pending;
    }
    // A cancel that came before the attach could be reached.
    if (cancelledNow()) pending.cancel();
    try {
      IAttachment* made = pending.wait(timeout);
      std::lock_guard lock(cancelMutex);
      pendingAttach = nullptr;
      return made;
    } catch (...) {
      std::lock_guard lock(cancelMutex);
      pendingAttach = nullptr;
      throw;
    }
  }

  // Drops cancelOperation()'s reference; after the owner's is gone, that
  // ends the attachment's interface.
  void retireCancelHandle() {
    IAttachment* handle = nullptr;
    {
      std::lock_guard lock(cancelMutex);
      std::swap(handle, cancelHandle);
    }
    if (handle != nullptr) handle->release();
  }

  void cancel(CancelMode mode) {
    cancelledOperation = operation.load();
    std::lock_guard lock(cancelMutex);
    if (pendingAttach != nullptr) pendingAttach->cancel();
    if (cancelHandle == nullptr) return;
    fb::Status status;
    try {
      cancelHandle->cancelOperation(&status,
                                    mode == CancelMode::Abort ? fb_cancel_abort : fb_cancel_raise);
    } catch (const FbException&) {
      // "Nothing to cancel": the operation ended first, or the attachment is
      // already gone; either way nothing is left to stop.
    }
  }

  void close() {
    rollbackQuietly(transaction);
    rollbackQuietly(reader);
    endTransactionState();
    statements.clear();
    if (attachment == nullptr) return;
    fb::Status status;
    try {
      attachment->detach(&status);  // releases the interface
    } catch (const FbException&) {
      // Detaching fails only when the link is already gone; forgetting the
      // attachment is then the whole of closing it.
      attachment->release();
    }
    attachment = nullptr;
    retireCancelHandle();
  }

  // After a lost connection: forgets everything that belonged to the
  // attachment without talking to the database, so the next use attaches anew.
  void forgetAttachment() {
    statements.clear();
    fb::releaseQuietly(transaction);
    fb::releaseQuietly(reader);
    fb::releaseQuietly(attachment);
    retireCancelHandle();
  }

  void endTransactionState() {
    transactionGone.reset();
    transactionFailed = false;
  }

  bool inTransaction() const { return transaction != nullptr || transactionGone.has_value(); }

  // A cancelled operation inside the explicit transaction ends it now, on a
  // link that still works: its locks go at once, not when the owner gets to
  // its rollback.
  void endExplicitTransactionAfterCancel() {
    if (transaction == nullptr) return;
    rollbackQuietly(transaction);
    transactionGone = cancelledTransactionError();
  }

  ITransaction* begin(fb::Status& status, Access access = Access::ReadWrite) {
    const std::vector<unsigned char> tpb =
        transactionParameters(settings.lockTimeoutSeconds, access);
    return attachment->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data());
  }

  // Starts a transaction, attaching first when needed. Starting is the first
  // thing sent on an idle attachment, so a link that died meanwhile (the
  // server restarted) shows here, before anything has run: attaching anew and
  // starting once more repeats nothing.
  ITransaction* beginOnLiveAttachment(fb::Status& status) {
    open();
    try {
      return begin(status);
    } catch (const FbException& error) {
      if (!fb::isConnectionLost(error) || cancelledNow()) throw;
    }
    forgetAttachment();
    open();
    return begin(status);
  }

  PreparedStatement& statementFor(fb::Status& status, ITransaction* tx, std::string_view sql) {
    if (PreparedStatement* cached = statements.find(sql)) return *cached;
    auto prepared = std::make_unique<PreparedStatement>(status, attachment, tx, sql,
                                                        static_cast<unsigned>(settings.dialect));
    return statements.add(sql, std::move(prepared));
  }

  // Runs `work(status, transaction)` in the explicit transaction, or in one of
  // its own that is committed after it and rolled back when it fails.
  template <typename Work>
  auto withTransaction(Work work) {
    if (transactionGone) throw *transactionGone;
    fb::Status status;
    ITransaction* own = nullptr;
    bool committing = false;
    try {
      if (transaction == nullptr) {
        own = beginOnLiveAttachment(status);
      } else {
        open();
      }
      auto result = work(status, transaction != nullptr ? transaction : own);
      if (own != nullptr) {
        committing = true;
        own->commit(&status);  // releases the interface
        own = nullptr;
      }
      return result;
    } catch (const FbException& error) {
      const bool linkLost = fb::isConnectionLost(error);
      DatabaseError failure = failureOf(error);
      if (linkLost && committing) failure.markOutcomeUnknown();
      abandon(own, linkLost);
      if (failure.cancelled()) endExplicitTransactionAfterCancel();
      throw failure;
    } catch (const DatabaseError& failure) {
      abandon(own, false);
      if (failure.cancelled()) endExplicitTransactionAfterCancel();
      throw;
    } catch (...) {
      abandon(own, false);
      throw;
    }
  }

  void abandon(ITransaction*& own, bool linkLost) {
    if (linkLost) {
      if (transaction != nullptr) transactionGone = lostTransactionError();
      fb::releaseQuietly(own);
      forgetAttachment();
    } else {
      rollbackQuietly(own);
    }
  }

  // A lone SELECT in the reader; nothing when the statement is not a SELECT or
  // turns out to write (a selectable procedure), and must run in a transaction
  // of its own. A read-only transaction changes nothing, so a SELECT that
  // found the link gone (the server restarted while the connection idled) is
  // run once more on a new attachment, and one refused for writing runs again
  // in a read-write transaction.
  std::optional<PreparedStatement::Outcome> runAsRead(std::string_view sql, const Params& params) {
    for (int attempt = 1;; ++attempt) {
      fb::Status status;
      try {
        open();
        if (reader == nullptr) reader = begin(status, Access::ReadOnly);
        PreparedStatement& statement = statementFor(status, reader, sql);
        if (!statement.isSelect()) return std::nullopt;
        return statement.run(status, reader, params);
      } catch (const FbException& error) {
        if (fb::hasErrorCode(error, isc_read_only_trans)) return std::nullopt;
        if (!fb::isConnectionLost(error)) throw failureOf(error);
        forgetAttachment();
        if (attempt == 2 || cancelledNow()) throw failureOf(error);
      }
    }
  }

  PreparedStatement::Outcome run(std::string_view sql, const Params& params) {
    if (transaction == nullptr && !transactionGone && !readsMonitoringTables(sql)) {
      if (auto read = runAsRead(sql, params)) return std::move(*read);
    }
    return withTransaction([&](fb::Status& status, ITransaction* tx) {
      return statementFor(status, tx, sql).run(status, tx, params);
    });
  }

  // Runs an operation on the explicit transaction; a lost connection forgets
  // the attachment before the error leaves.
  template <typename Work>
  void onAttachment(Work work) {
    fb::Status status;
    try {
      work(status);
    } catch (const FbException& error) {
      const bool linkLost = fb::isConnectionLost(error);
      DatabaseError failure = failureOf(error);
      if (linkLost) forgetAttachment();
      throw failure;
    }
  }
};

Connection::Connection() : Connection(ConnectionSettings{}) {}

Connection::Connection(ConnectionSettings settings)
    : impl_(std::make_unique<Impl>(std::move(settings))) {}

Connection::~Connection() = default;

const ConnectionSettings& Connection::settings() const {
  return impl_->settings;
}

void Connection::setSettings(ConnectionSettings settings) {
  impl_->close();
  impl_->settings = std::move(settings);
}

void Connection::open() {
  impl_->startOperation();
  impl_->open();
}

void Connection::close() {
  impl_->startOperation();
  impl_->close();
}

bool Connection::isOpen() const {
  return impl_->attachment != nullptr;
}

void Connection::reattach() {
  impl_->startOperation();
  impl_->close();
  impl_->open();
}

void Connection::ping() {
  query("select 1 from RDB$DATABASE");
}

void Connection::cancelOperation(CancelMode mode) {
  impl_->cancel(mode);
}

ResultSet Connection::query(std::string_view sql, const Params& params) {
  impl_->startOperation();
  return impl_->run(sql, params).rows;
}

int Connection::execute(std::string_view sql, const Params& params) {
  impl_->startOperation();
  return impl_->run(sql, params).changed;
}

void Connection::prepare(std::string_view sql) {
  impl_->startOperation();
  impl_->withTransaction([&](fb::Status& status, ITransaction* tx) {
    impl_->statementFor(status, tx, sql);
    return 0;
  });
}

bool Connection::inTransaction() const {
  return impl_->inTransaction();
}

void Connection::startTransaction() {
  impl_->startOperation();
  if (impl_->inTransaction()) throw DatabaseError("A transaction is already active");
  impl_->onAttachment(
      [&](fb::Status& status) { impl_->transaction = impl_->beginOnLiveAttachment(status); });
  impl_->endTransactionState();
}

void Connection::commit() {
  impl_->startOperation();
  if (impl_->transactionGone) throw *impl_->transactionGone;
  if (impl_->transaction == nullptr) throw DatabaseError("No transaction is active to commit");
  if (impl_->transactionFailed) {
    throw DatabaseError(
        "The transaction cannot be committed: work inside it failed; it must be rolled back");
  }
  try {
    impl_->onAttachment([&](fb::Status& status) {
      impl_->transaction->commit(&status);  // releases the interface
      impl_->transaction = nullptr;
    });
  } catch (DatabaseError& failure) {
    // The link went with the commit sent: the server may have committed.
    if (impl_->attachment == nullptr) failure.markOutcomeUnknown();
    if (failure.cancelled()) impl_->endExplicitTransactionAfterCancel();
    throw;
  }
}

void Connection::rollback() {
  impl_->startOperation();
  impl_->endTransactionState();
  // Nothing to undo when the transaction is gone with a lost connection.
  if (impl_->transaction == nullptr) return;
  impl_->onAttachment([&](fb::Status& status) {
    try {
      impl_->transaction->rollback(&status);  // releases the interface
      impl_->transaction = nullptr;
    } catch (const FbException&) {
      // A transaction whose rollback failed is over all the same.
      fb::releaseQuietly(impl_->transaction);
      throw;
    }
  });
}

void Connection::markTransactionFailed() {
  if (impl_->inTransaction()) impl_->transactionFailed = true;
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.startTransaction();
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    connection_.rollback();
  } catch (const DatabaseError&) {
    // A destructor cannot report it, and a rollback fails only when the
    // connection is gone, which undoes the transaction anyway.
  }
}

void Transaction::commit() {
  connection_.commit();
  done_ = true;
}

void createDatabase(const ConnectionSettings& settings) {
  Firebird::IProvider* provider = fb::master()->getDispatcher();
  fb::Status status;
  IAttachment* attachment = nullptr;
  try {
    const std::vector<unsigned char> dpb = createParameters(settings);
    attachment = provider->createDatabase(&status, settings.database.c_str(),
                                          static_cast<unsigned>(dpb.size()), dpb.data());
    attachment->detach(&status);  // releases the interface
    provider->release();
  } catch (const FbException& error) {
    if (attachment != nullptr) attachment->release();
    provider->release();
    throw fb::toDatabaseError(error);
  }
}

}  // namespace mts::db
