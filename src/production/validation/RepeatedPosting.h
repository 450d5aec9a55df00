#pragma once

#include <cstddef>
#include <vector>

#include "production/validation/PostedThing.h"

namespace mts {

// Whether a sector may post a card it has posted before, free of the database.

// An earlier posting in the posting's sector, among those the card's load
// counts (the same sub-card, the same sub-production label), in load order.
struct SectorPostingSeen {
  PostedThing Thing;
  bool HasExit = false;  // DTSAIDA_PS is set
  double Qtde = 0;       // QTDE_PS, null as 0
};

struct RepeatedPostingDecision {
  enum class Kind {
    Refuse,  // "already posted in the sector"
    Entry,   // a new row with the entry date and hour (entry/exit mode)
    Exit,    // the exit date and hour on the open row of the same thing
    Post,    // a new row with the posting (exit) date and hour
  };
  Kind kind = Kind::Refuse;
  double Qtde = 0;           // the pairs a new row records
  std::size_t NamedRow = 0;  // Refuse: the row whose employee the message names
};

// The rules, for a posting of `thing` with `qtde` pairs:
//  - nothing posted in the sector: a posting of its own, as an entry in
//    entry/exit mode without partial posting;
//  - entry/exit mode (with or without partial posting): an open row of the same
//    thing gets its exit; an open row of anything else (a sub-card's label, the
//    sub-card's other box) is never completed by this posting;
//  - partial posting: a posting of what is still missing in the sector (qtde
//    less the pairs of every row there), refused once nothing is missing,
//    naming the sector's last posting; so the sector's pairs reach qtde and
//    never pass it;
//  - otherwise refused, naming the sector's first posting.
RepeatedPostingDecision DecidirBaixaRepetida(const std::vector<SectorPostingSeen>& doSetor,
                                             const PostedThing& thing, double qtde,
                                             bool baixaParcial, bool baixaSetorEntrada);

}  // namespace mts
