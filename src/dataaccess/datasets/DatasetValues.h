#pragma once

#include "dataaccess/firebird/Value.h"

// How the client datasets order and match field values.
namespace mts::dataset_values {

// Orders two values of one field for an index: nulls first, then numbers (by
// value, whatever their representation), then texts (byte by byte, so letter case
// counts), then timestamps. Returns <0, 0 or >0.
int compare(const db::Value& a, const db::Value& b);

// Whether a field value equals a search key. The key is taken as the field's own
// kind: a text key for a numeric field is read as a number (no match when it is
// not one), a number for a text field as its decimal text. Texts match exactly,
// letter case and trailing blanks included. A null key matches only null.
bool matchesKey(const db::Value& field, const db::Value& key);

}  // namespace mts::dataset_values
