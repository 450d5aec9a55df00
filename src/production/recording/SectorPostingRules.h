#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dataaccess/firebird/Value.h"
#include "production/validation/PostedThing.h"

namespace mts {

// Decisions of writing a card's posting in a sector, free of the database.

// "hh:mm" of a moment, 24-hour clock; seconds are cut, not rounded.
std::string HoraMinuto(const db::Timestamp& momento);

// Refuses (std::invalid_argument) date and hour column names other than the
// entry pair or the exit pair: the names go into the statement text, and a
// date of one pair with the hour of the other would split the posting's time.
void VerificarColunasDataHora(const std::string& campoData, const std::string& campoHora);

// A posting of the card already in the sector, in the order the reload
// returned it.
struct LoadedSectorPosting {
  std::int32_t ID_PS = 0;
  bool hasExit = false;  // DTSAIDA_PS is set
  PostedThing thing{};   // what the row posted
};

// The change a posting makes: a new row, or the exit time on an open row.
struct SectorPostingChange {
  enum class Kind { AppendRow, CompleteExit };
  Kind kind = Kind::AppendRow;
  std::int32_t ID_PS = 0;  // the row to complete
};

// In entry/exit mode an exit posting completes the first open row (entry
// recorded, no exit yet) of the same thing it posts: the same card, sub-card,
// box label or sub-production label. An open row of anything else is left
// alone, and when there is none (partial postings in entry/exit mode are all
// exits) the posting gets a row of its own rather than overwrite another's
// exit time or take over another's row. Every other posting is a new row.
SectorPostingChange EscolherAlteracao(bool baixaSetorEntrada, const std::string& campoData,
                                      const PostedThing& thing,
                                      const std::vector<LoadedSectorPosting>& postings);

}  // namespace mts
