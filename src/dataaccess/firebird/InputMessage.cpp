#include "dataaccess/firebird/InputMessage.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts::db {
namespace {

using Firebird::IMessageMetadata;
using Firebird::IMetadataBuilder;

// The longest text a VARCHAR message field can carry.
constexpr unsigned kMaxTextLength = 32765;
constexpr unsigned kBlobSegment = 32768;

unsigned baseType(unsigned type) {
  return type & ~1u;
}

bool isTextType(unsigned type) {
  return type == SQL_TEXT || type == SQL_VARYING;
}

std::vector<const Value*> valuesInOrder(const std::vector<std::string>& names,
                                        const Params& params) {
  std::vector<const Value*> values;
  values.reserve(names.size());
  for (const auto& name : names) {
    const Value* value = params.find(name);
    if (value == nullptr) throw DatabaseError("No value for parameter '" + name + "'");
    values.push_back(value);
  }
  return values;
}

bool isDateZero(const Timestamp& t) {
  return t.year == 0 && t.month == 0 && t.day == 0;
}

void checkTimestamp(const Timestamp& t, const std::string& name) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool valid = t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
               t.second < 60 && t.fraction >= 0 && t.fraction < 10000;
  if (!isDateZero(t)) {
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    valid = valid && t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
            t.day <= kDays[t.month - 1] && (t.month != 2 || t.day <= 28 || leap);
  }
  if (!valid) throw DatabaseError("Invalid date/time value for parameter '" + name + "'");
}

// The message field type for one value; the described type for a null, and for
// text bound to a blob (written as a blob id).
struct FieldType {
  unsigned type;
  unsigned length;
  int scale = 0;
  unsigned charSet = 0;
};

FieldType fieldTypeOf(const Value& value, unsigned slotType, unsigned slotCharSet,
                      const std::string& name) {
  return std::visit(
      [&](const auto& v) -> FieldType {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          if (v.size() > kMaxTextLength) {
            throw DatabaseError("Text of parameter '" + name + "' is longer than " +
                                std::to_string(kMaxTextLength) + " bytes");
          }
          // Text keeps the character set described for a text position, so the
          // bytes pass unchanged; elsewhere the database only parses it.
          const unsigned charSet = isTextType(slotType) ? slotCharSet : 0;
          return {SQL_VARYING, std::max<unsigned>(1, static_cast<unsigned>(v.size())), 0, charSet};
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          return {SQL_LONG, 4};
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return {SQL_INT64, 8};
        } else if constexpr (std::is_same_v<T, double>) {
          return {SQL_DOUBLE, 8};
        } else if constexpr (std::is_same_v<T, Decimal>) {
          if (v.scale < 0 || v.scale > 18) {
            throw DatabaseError("Invalid decimal scale for parameter '" + name + "'");
          }
          return {SQL_INT64, 8, -v.scale};
        } else if constexpr (std::is_same_v<T, Timestamp>) {
          checkTimestamp(v, name);
          if (slotType == SQL_TYPE_TIME) return {SQL_TYPE_TIME, 4};
          // The database would read a time alone as that time today: a date
          // nobody gave must not be stored as if someone had.
          if (isDateZero(v)) {
            throw DatabaseError("Parameter '" + name + "' has a time of day but no date");
          }
          return {SQL_TIMESTAMP, 8};
        } else {
          return {0, 0};  // null: not reached, nulls keep the described type
        }
      },
      value);
}

void createTextBlob(fb::Status& status, Firebird::IAttachment* attachment,
                    Firebird::ITransaction* transaction, const std::string& text, ISC_QUAD* id) {
  Firebird::IBlob* blob = attachment->createBlob(&status, transaction, id, 0, nullptr);
  try {
    for (std::size_t at = 0; at < text.size(); at += kBlobSegment) {
      const auto length =
          static_cast<unsigned>(std::min<std::size_t>(kBlobSegment, text.size() - at));
      blob->putSegment(&status, length, text.data() + at);
    }
    blob->close(&status);  // releases the interface
  } catch (...) {
    blob->release();  // cancels the unfinished blob
    throw;
  }
}

}  // namespace

InputMessage::InputMessage(fb::Status& status, Firebird::IAttachment* attachment,
                           Firebird::ITransaction* transaction, IMessageMetadata* described,
                           const std::vector<std::string>& names, const Params& params) {
  const unsigned count = described->getCount(&status);
  if (count == 0) return;
  const std::vector<const Value*> values = valuesInOrder(names, params);
  if (values.size() != count) {
    throw DatabaseError("The statement takes " + std::to_string(count) + " parameters but names " +
                        std::to_string(values.size()));
  }

  IMetadataBuilder* builder = described->getBuilder(&status);
  try {
    for (unsigned i = 0; i < count; ++i) {
      const unsigned slotType = baseType(described->getType(&status, i));
      const bool blobText = slotType == SQL_BLOB && std::holds_alternative<std::string>(*values[i]);
      if (std::holds_alternative<Null>(*values[i]) || blobText) continue;
      const FieldType field =
          fieldTypeOf(*values[i], slotType, described->getCharSet(&status, i), names[i]);
      // Length, scale, sub-type and character set all carry over from the
      // described type unless set again, so each is set.
      builder->setType(&status, i, field.type | 1);
      builder->setLength(&status, i, field.length);
      builder->setScale(&status, i, field.scale);
      builder->setSubType(&status, i, 0);
      builder->setCharSet(&status, i, field.charSet);
    }
    metadata_ = builder->getMetadata(&status);
    builder->release();
  } catch (...) {
    builder->release();
    throw;
  }

  try {
    fill(status, attachment, transaction, values);
  } catch (...) {
    // The destructor does not run for a constructor that throws.
    fb::releaseQuietly(metadata_);
    throw;
  }
}

void InputMessage::fill(fb::Status& status, Firebird::IAttachment* attachment,
                        Firebird::ITransaction* transaction,
                        const std::vector<const Value*>& values) {
  const unsigned count = metadata_->getCount(&status);
  buffer_ = MessageBuffer(metadata_->getMessageLength(&status));
  for (unsigned i = 0; i < count; ++i) {
    const unsigned offset = metadata_->getOffset(&status, i);
    const bool isNull = std::holds_alternative<Null>(*values[i]);
    buffer_.write<std::int16_t>(metadata_->getNullOffset(&status, i), isNull ? -1 : 0);
    std::visit(
        [&](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, std::string>) {
            if (baseType(metadata_->getType(&status, i)) == SQL_BLOB) {
              ISC_QUAD id{};
              createTextBlob(status, attachment, transaction, v, &id);
              buffer_.write(offset, id);
            } else {
              buffer_.write(offset, static_cast<std::uint16_t>(v.size()));
              std::memcpy(buffer_.data() + offset + 2, v.data(), v.size());
            }
          } else if constexpr (std::is_same_v<T, Decimal>) {
            buffer_.write(offset, v.unscaled);
          } else if constexpr (std::is_same_v<T, Timestamp>) {
            const ISC_TIME time = fb::util()->encodeTime(v.hour, v.minute, v.second, v.fraction);
            if (baseType(metadata_->getType(&status, i)) == SQL_TYPE_TIME) {
              buffer_.write(offset, time);
            } else {
              buffer_.write(offset,
                            ISC_TIMESTAMP{fb::util()->encodeDate(v.year, v.month, v.day), time});
            }
          } else if constexpr (!std::is_same_v<T, Null>) {
            buffer_.write(offset, v);
          }
        },
        *values[i]);
  }
}

InputMessage::~InputMessage() {
  if (metadata_ != nullptr) metadata_->release();
}

}  // namespace mts::db
