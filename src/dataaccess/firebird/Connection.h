#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "dataaccess/firebird/Params.h"
#include "dataaccess/firebird/ResultSet.h"

namespace mts::db {

struct ConnectionSettings {
  // A file path runs the embedded engine; "host:path", "host/port:path" or
  // "inet4://host:port/path" reaches a Firebird server.
  std::string database;
  std::string user = "SYSDBA";
  std::string password;
  int dialect = 3;
  std::string charset = "WIN1252";
  // How long a statement waits for a record another transaction has locked
  // before it fails with a lock conflict; 0 or less waits for ever.
  int lockTimeoutSeconds = 0;
  // How long attaching to a remote database may take before it fails as out
  // of reach (a server that accepts and never answers, a hung host); 0 or
  // less waits as long as the client library does (minutes). Not used for
  // the embedded engine.
  int connectTimeoutSeconds = 5;
};

// How cancelOperation() stops the operation under way.
enum class CancelMode {
  // Asks the server to stop it: it fails at once with a cancelled error and
  // the connection stays attached. A server that does not answer (a hung
  // host) never acts on it.
  Raise,
  // Cuts the link on this side at once, whatever the server does: the
  // operation fails with a cancelled error, the server undoes the open
  // transaction when it next looks at the link, and the next use attaches
  // anew.
  Abort,
};

// One attachment to a Firebird database, used from one thread.
//
// Opening: the connection attaches on first use (query/execute/startTransaction),
// or when open() is called. Settings can be changed while closed.
//
// Transactions: a statement run while no explicit transaction is open runs in a
// transaction of its own that is committed right after it (rolled back when it
// fails). A plain SELECT run that way instead shares one read-only read-committed
// transaction that the connection keeps open for as long as it stays attached:
// it sees every commit made before it, as its own transaction would, without
// the two extra round trips. (A SELECT that writes, such as a selectable
// procedure, and one reading the monitoring tables, whose snapshot is taken
// per transaction, still get a transaction of their own.) startTransaction() opens the explicit
// transaction (read committed, record version, waits on locks); every statement then joins it until
// commit() or rollback(). Only one explicit transaction is open at a time.
//
// Statements: SQL text with named parameters ":NAME" (the same name may appear
// several times; a bare "?" is refused); each distinct text is prepared once per
// attachment and reused (the 200 texts used last stay prepared). Each value is
// sent as its own type and the database converts it to the parameter's type,
// with its own conversion errors ("12" into an INTEGER, 7 into a VARCHAR, a
// Decimal rounded into a NUMERIC(15,2)). Text into a BLOB parameter is
// written as a blob; BLOB columns read as text.
//
// Attaching to a remote database gives up after the settings' connect timeout
// with a connection-lost error (see BoundedAttach).
//
// Cancelling: cancelOperation() is the one member any thread may call, while
// the owning thread runs an operation. The operation fails with a cancelled
// DatabaseError; the transaction it ran in is rolled back at once: a lone
// statement's own, and the explicit one, which then stays open in name and
// refuses every statement and commit() until rollback(), as after a lost link.
// A commit cut off by an abort (or by a lost link) fails with outcomeUnknown()
// true: the server may have committed it. A cancel that arrives between
// operations stops none.
//
// Errors: every failure throws DatabaseError carrying the database's message.
// When the failure is a lost connection, the statement that found it fails and
// the next use attaches again, with two refinements:
//  - Inside an explicit transaction the loss is remembered: the transaction
//    stays open in name (inTransaction() reads true), and every statement and
//    commit() is refused with a connection-lost error until rollback(), so no
//    later statement commits on its own what was meant to belong to the lost
//    work.
//  - A lone statement whose own transaction cannot start because the link died
//    while idle (a database server restart) attaches again and runs once more:
//    nothing of it had reached the database. A lone SELECT that finds the link
//    gone runs once more too: it ran read-only. Any other statement that may
//    have run is never repeated.
class Connection {
 public:
  Connection();
  explicit Connection(ConnectionSettings settings);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const ConnectionSettings& settings() const;
  void setSettings(ConnectionSettings settings);  // closes first when open

  void open();
  void close();  // rolls back an open explicit transaction
  bool isOpen() const;
  // Closes and attaches again with the same settings: for a connection whose
  // server went away, or to start afresh.
  void reattach();
  // One light round trip that tells whether the database answers: throws
  // DatabaseError (connectionLost() when the server is out of reach). When
  // the link was lost while idle, it attaches again first, as any statement
  // does; so a server that came back reads as up.
  void ping();

  // Stops the operation the owning thread runs now (see above). Any thread;
  // returns at once.
  void cancelOperation(CancelMode mode = CancelMode::Raise);

  // A statement that returns rows (SELECT, or EXECUTE PROCEDURE with outputs).
  ResultSet query(std::string_view sql, const Params& params = {});
  // A statement run for its effect; returns the number of rows it inserted,
  // updated or deleted (0 for other statements).
  int execute(std::string_view sql, const Params& params = {});
  // Checks that the text prepares (the statement is not run).
  void prepare(std::string_view sql);

  // True from startTransaction() until commit() or rollback(), including
  // while the transaction is lost with the link or marked failed.
  bool inTransaction() const;
  void startTransaction();  // throws when one is already open
  // Throws when none is open, when the link was lost inside it, and when a
  // joined TransactionScope marked it failed; a failed commit leaves it open
  // for rollback(), unless the commit itself found the link gone.
  void commit();
  void rollback();  // ends it whatever its state; does nothing when none is open

 private:
  friend class TransactionScope;
  // Makes the open explicit transaction refuse to commit; nothing when none is open.
  void markTransactionFailed();

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Rolls back in its destructor unless committed. Joins nothing: it opens the
// connection's explicit transaction and requires that none is open yet.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

// Creates an empty database (page size 8192, default character set WIN1252) and
// closes it. Throws DatabaseError when the file exists or cannot be created.
void createDatabase(const ConnectionSettings& settings);

}  // namespace mts::db
