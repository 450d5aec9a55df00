#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/Value.h"

namespace mts {

// Text rules of the posting checks that need no database.

// A refusal that reports an earlier posting names its employee: " Func: " and
// the name are appended, unless the name is empty.
std::string withEmployee(std::string message, const std::string& employeeName);

// True when a sector whose TIPO_ATU_PRODUCAO_SETOR_SE is `sectorType` accepts a
// card of kind `kind`: "N" accepts every kind, any other value only the kind it
// names (an empty value accepts none).
bool sectorAcceptsKind(std::string_view sectorType, std::string_view kind);

// Reads a list of sector codes the way the office program writes delimited
// lists: items are separated by "," and also by blanks (any byte from 1 to 32),
// an item in double quotes is taken whole (a doubled quote inside stands for
// one), two commas in a row give an empty item and so does a final comma.
std::vector<std::string> splitDelimitedSectors(std::string_view text);

// The previous-sector list (SETORANT_SE) narrowed to the product's sectors:
// with no product sectors the raw text unchanged; otherwise the items of the
// trimmed text that are product sectors, in list order, joined by "," without
// blanks (empty when none is).
std::string keepProductSectors(const std::string& raw,
                               const std::vector<std::string>& productSectors);

// Removes and returns the first code of a comma-separated list: the text
// before the first "," (the whole list when there is none), untrimmed; the
// comma goes with it.
std::string takeFirstSector(std::string& list);

// "dd/mm hh:nn" of a moment, as the box cancellation message shows it.
std::string formatDayMonthTime(const db::Timestamp& moment);

}  // namespace mts
