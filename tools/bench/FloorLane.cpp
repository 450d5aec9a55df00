#include "FloorLane.h"

#include <string>

namespace mts::bench {

FloorLane::FloorLane(FactorySize size, int cards, FloorMode mode) : folder_("floor"), mode_(mode) {
  size.cards = cards;
  const auto database = folder_ / "factory.fdb";
  generateFactory(database, size);
  connection_ = std::make_unique<db::Connection>(firebird_.settings(database));
  prepareFloor(*connection_);
}

std::chrono::nanoseconds FloorLane::post(int c) {
  const std::string code = postableCard(c);
  return postOneAtFloor(*connection_,
                        {code.substr(0, 6), code.substr(6, 4), "30", kAssemblyEmployee}, mode_);
}

}  // namespace mts::bench
