#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/firebird/FirebirdApi.h"
#include "dataaccess/firebird/MessageBuffer.h"
#include "dataaccess/firebird/Params.h"
#include "dataaccess/firebird/ResultSet.h"

namespace mts::db {

// One statement text prepared on an attachment, run as often as needed.
//
// The attachment must outlive the statement. Destroying the statement frees
// it on the server when the attachment is still alive, and only forgets it when
// the attachment is gone. API failures leave as Firebird::FbException; the
// caller (Connection) turns them into DatabaseError.
class PreparedStatement {
 public:
  // Prepares `sql` (named parameters ":NAME") within `transaction`.
  PreparedStatement(fb::Status& status, Firebird::IAttachment* attachment,
                    Firebird::ITransaction* transaction, std::string_view sql, unsigned dialect);
  ~PreparedStatement();
  PreparedStatement(const PreparedStatement&) = delete;
  PreparedStatement& operator=(const PreparedStatement&) = delete;

  struct Outcome {
    ResultSet rows;   // every row of a SELECT; the output row of other statements, if any
    int changed = 0;  // rows inserted, updated or deleted
  };

  // Runs the statement in `transaction` with `params` and reads every row it
  // returns before returning (blobs included, while the transaction is alive).
  Outcome run(fb::Status& status, Firebird::ITransaction* transaction, const Params& params);

  // True for a plain SELECT (not FOR UPDATE / WITH LOCK): it may run in a
  // read-only transaction. A selectable procedure that writes is a SELECT too
  // and is refused there by the database.
  bool isSelect() const { return type_ == isc_info_sql_stmt_select; }

 private:
  struct Column {
    unsigned type;
    unsigned length;
    int scale;
    unsigned offset;
    unsigned nullOffset;
  };

  void describeColumns(fb::Status& status);
  Row readRow(fb::Status& status, Firebird::ITransaction* transaction,
              const MessageBuffer& message) const;
  Value readValue(fb::Status& status, Firebird::ITransaction* transaction,
                  const MessageBuffer& message, std::size_t index) const;
  std::string readBlob(fb::Status& status, Firebird::ITransaction* transaction, ISC_QUAD id) const;
  void releaseAll();

  Firebird::IAttachment* attachment_;
  Firebird::IStatement* statement_ = nullptr;
  Firebird::IMessageMetadata* input_ = nullptr;
  Firebird::IMessageMetadata* output_ = nullptr;
  unsigned type_ = 0;
  // Its row count is known without asking the server (see insertsOneRow).
  bool insertsOneRow_ = false;
  std::vector<std::string> parameterNames_;
  std::vector<Column> columns_;
  std::shared_ptr<const std::vector<std::string>> columnNames_;
  unsigned outputLength_ = 0;
};

}  // namespace mts::db
