#pragma once

#include <string>
#include <vector>

#include "dataaccess/firebird/FirebirdApi.h"
#include "dataaccess/firebird/MessageBuffer.h"
#include "dataaccess/firebird/Params.h"

namespace mts::db {

// The input message of one execution: the values of the named parameters, in
// statement order.
//
// Each value travels in its own type (text as VARCHAR, Decimal as a scaled
// BIGINT, ...) and the database converts it to the type it described for that
// position, with its own rules and error messages: "12" into an INTEGER, 7 into a
// VARCHAR, 12.345 rounded into a NUMERIC(15,2). A null keeps the described type.
// Text for a BLOB position is written into a new blob first.
class InputMessage {
 public:
  // `described` is the statement's input metadata; `names` the parameter name of
  // each position. Throws DatabaseError when a name has no value, FbException
  // when the API fails. The attachment and transaction are used for blobs only.
  InputMessage(fb::Status& status, Firebird::IAttachment* attachment,
               Firebird::ITransaction* transaction, Firebird::IMessageMetadata* described,
               const std::vector<std::string>& names, const Params& params);
  ~InputMessage();
  InputMessage(const InputMessage&) = delete;
  InputMessage& operator=(const InputMessage&) = delete;

  // Both null when the statement takes no parameters.
  Firebird::IMessageMetadata* metadata() const { return metadata_; }
  void* buffer() { return metadata_ ? buffer_.data() : nullptr; }

 private:
  // Writes each value into the buffer laid out by metadata_ (blobs created here).
  void fill(fb::Status& status, Firebird::IAttachment* attachment,
            Firebird::ITransaction* transaction, const std::vector<const Value*>& values);

  Firebird::IMessageMetadata* metadata_ = nullptr;
  MessageBuffer buffer_;
};

}  // namespace mts::db
