#include "dataaccess/firebird/PreparedStatement.h"

#include <limits>

#include "dataaccess/firebird/DatabaseError.h"
#include "dataaccess/firebird/InputMessage.h"
#include "dataaccess/firebird/PositionalSql.h"
#include "dataaccess/firebird/SingleRowInsert.h"
#include "dataaccess/firebird/SqlNames.h"

namespace mts::db {
namespace {

using Firebird::IStatus;

constexpr unsigned kBlobChunk = 32768;

bool returnsCursor(unsigned type) {
  return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

bool changesRows(unsigned type) {
  return type == isc_info_sql_stmt_insert || type == isc_info_sql_stmt_update ||
         type == isc_info_sql_stmt_delete;
}

Value scaled(std::int64_t value, int scale) {
  if (scale < 0) return Decimal{value, -scale};
  return value;
}

Value scaled32(std::int32_t value, int scale) {
  if (scale < 0) return Decimal{value, -scale};
  return value;
}

Timestamp dateOf(ISC_DATE date) {
  unsigned year = 0, month = 0, day = 0;
  fb::util()->decodeDate(date, &year, &month, &day);
  Timestamp t;
  t.year = static_cast<int>(year);
  t.month = static_cast<int>(month);
  t.day = static_cast<int>(day);
  return t;
}

void setTimeOf(ISC_TIME time, Timestamp& t) {
  unsigned hour = 0, minute = 0, second = 0, fraction = 0;
  fb::util()->decodeTime(time, &hour, &minute, &second, &fraction);
  t.hour = static_cast<int>(hour);
  t.minute = static_cast<int>(minute);
  t.second = static_cast<int>(second);
  t.fraction = static_cast<int>(fraction);
}

}  // namespace

PreparedStatement::PreparedStatement(fb::Status& status, Firebird::IAttachment* attachment,
                                     Firebird::ITransaction* transaction, std::string_view sql,
                                     unsigned dialect)
    : attachment_(attachment) {
  PositionalSql positional = toPositional(sql);
  parameterNames_ = std::move(positional.names);
  try {
    statement_ = attachment_->prepare(&status, transaction, 0, positional.text.c_str(), dialect,
                                      Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    type_ = statement_->getType(&status);
    insertsOneRow_ = type_ == isc_info_sql_stmt_insert && insertsOneRow(sql);
    if (type_ == isc_info_sql_stmt_start_trans || type_ == isc_info_sql_stmt_commit ||
        type_ == isc_info_sql_stmt_rollback) {
      throw DatabaseError(
          "Transaction statements are not run as SQL: use the connection's startTransaction, "
          "commit and rollback");
    }
    input_ = statement_->getInputMetadata(&status);
    output_ = statement_->getOutputMetadata(&status);
    if (input_->getCount(&status) != parameterNames_.size()) {
      throw DatabaseError("The statement takes " + std::to_string(input_->getCount(&status)) +
                          " parameters but names " + std::to_string(parameterNames_.size()));
    }
    describeColumns(status);
  } catch (...) {
    releaseAll();
    throw;
  }
}

PreparedStatement::~PreparedStatement() {
  releaseAll();
}

void PreparedStatement::releaseAll() {
  // The last reference to a statement frees it on the server; on a lost
  // attachment it is only forgotten.
  fb::releaseQuietly(output_);
  fb::releaseQuietly(input_);
  fb::releaseQuietly(statement_);
}

void PreparedStatement::describeColumns(fb::Status& status) {
  const unsigned count = output_->getCount(&status);
  auto names = std::make_shared<std::vector<std::string>>();
  for (unsigned i = 0; i < count; ++i) {
    const char* alias = output_->getAlias(&status, i);
    const char* field = output_->getField(&status, i);
    names->push_back(upperName(alias != nullptr && *alias != '\0' ? alias : field));
    columns_.push_back(Column{output_->getType(&status, i) & ~1u, output_->getLength(&status, i),
                              output_->getScale(&status, i), output_->getOffset(&status, i),
                              output_->getNullOffset(&status, i)});
  }
  columnNames_ = std::move(names);
  outputLength_ = output_->getMessageLength(&status);
}

PreparedStatement::Outcome PreparedStatement::run(fb::Status& status,
                                                  Firebird::ITransaction* transaction,
                                                  const Params& params) {
  InputMessage input(status, attachment_, transaction, input_, parameterNames_, params);
  MessageBuffer message(outputLength_);
  std::vector<Row> rows;
  int changed = 0;

  if (returnsCursor(type_)) {
    Firebird::IResultSet* cursor =
        statement_->openCursor(&status, transaction, input.metadata(), input.buffer(), output_, 0);
    try {
      while (cursor->fetchNext(&status, message.data()) == IStatus::RESULT_OK) {
        rows.push_back(readRow(status, transaction, message));
      }
      cursor->close(&status);  // releases the interface
    } catch (...) {
      cursor->release();
      throw;
    }
  } else {
    // A procedure call takes an output message even when it returns nothing.
    const bool withOutput = columns_.size() > 0 || type_ == isc_info_sql_stmt_exec_procedure;
    statement_->execute(&status, transaction, input.metadata(), input.buffer(),
                        withOutput ? output_ : nullptr, withOutput ? message.data() : nullptr);
    if (!columns_.empty()) rows.push_back(readRow(status, transaction, message));
    if (insertsOneRow_) {
      changed = 1;
    } else if (changesRows(type_)) {
      const ISC_UINT64 count = statement_->getAffectedRecords(&status);
      changed = static_cast<int>(
          std::min<ISC_UINT64>(count, static_cast<ISC_UINT64>(std::numeric_limits<int>::max())));
    }
  }
  return Outcome{ResultSet(columnNames_, std::move(rows)), changed};
}

Row PreparedStatement::readRow(fb::Status& status, Firebird::ITransaction* transaction,
                               const MessageBuffer& message) const {
  std::vector<Value> values;
  values.reserve(columns_.size());
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    values.push_back(readValue(status, transaction, message, i));
  }
  return Row(columnNames_, std::move(values));
}

Value PreparedStatement::readValue(fb::Status& status, Firebird::ITransaction* transaction,
                                   const MessageBuffer& message, std::size_t index) const {
  const Column& c = columns_[index];
  if (c.type == SQL_NULL || message.read<std::int16_t>(c.nullOffset) != 0) return Null{};
  const auto* at = message.data() + c.offset;
  switch (c.type) {
    case SQL_TEXT:
      return std::string(reinterpret_cast<const char*>(at), c.length);
    case SQL_VARYING:
      return std::string(reinterpret_cast<const char*>(at) + 2,
                         message.read<std::uint16_t>(c.offset));
    case SQL_SHORT:
      return scaled32(message.read<std::int16_t>(c.offset), c.scale);
    case SQL_LONG:
      return scaled32(message.read<std::int32_t>(c.offset), c.scale);
    case SQL_INT64:
      return scaled(message.read<std::int64_t>(c.offset), c.scale);
    case SQL_FLOAT:
      return static_cast<double>(message.read<float>(c.offset));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return message.read<double>(c.offset);
    case SQL_BOOLEAN:
      return static_cast<std::int32_t>(message.read<FB_BOOLEAN>(c.offset) ? 1 : 0);
    case SQL_TYPE_DATE:
      return dateOf(message.read<ISC_DATE>(c.offset));
    case SQL_TYPE_TIME: {
      Timestamp t;
      setTimeOf(message.read<ISC_TIME>(c.offset), t);
      return t;
    }
    case SQL_TIMESTAMP: {
      const auto stamp = message.read<ISC_TIMESTAMP>(c.offset);
      Timestamp t = dateOf(stamp.timestamp_date);
      setTimeOf(stamp.timestamp_time, t);
      return t;
    }
    case SQL_BLOB:
      return readBlob(status, transaction, message.read<ISC_QUAD>(c.offset));
    default:
      throw DatabaseError("Field '" + (*columnNames_)[index] + "' has an unsupported data type (" +
                          std::to_string(c.type) + ")");
  }
}

std::string PreparedStatement::readBlob(fb::Status& status, Firebird::ITransaction* transaction,
                                        ISC_QUAD id) const {
  Firebird::IBlob* blob = attachment_->openBlob(&status, transaction, &id, 0, nullptr);
  std::string content;
  try {
    char chunk[kBlobChunk];
    for (;;) {
      unsigned length = 0;
      const int result = blob->getSegment(&status, sizeof chunk, chunk, &length);
      if (result != IStatus::RESULT_OK && result != IStatus::RESULT_SEGMENT) break;
      content.append(chunk, length);
    }
    blob->close(&status);  // releases the interface
  } catch (...) {
    blob->release();
    throw;
  }
  return content;
}

}  // namespace mts::db
