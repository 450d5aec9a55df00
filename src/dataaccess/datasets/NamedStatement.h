#pragma once

#include <string>

namespace mts {

// A statement text as a module sends it, under the name the module knows it
// by ("SectorSequence.sqlSetorFunc"; a text the module shapes at each use is
// listed once per shape, with the shape after a blank). Each module lists its
// own, so that every text the server sends can be checked against the
// factory schema without keeping a second copy of it.
struct NamedStatement {
  std::string name;
  std::string sql;
};

}  // namespace mts
