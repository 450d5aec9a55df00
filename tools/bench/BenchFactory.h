#pragma once

#include <filesystem>
#include <string>

namespace mts::bench {

// Grows a copy of the demo factory to a chosen size: `employees` more
// employees (active, with badges, some with a sector), `postings` earlier
// postings in PRODUCAO_SETOR on programmes of their own, and `cards` cards
// ready to be posted in assembly (sector 30) by badge kAssemblyBadge. The
// demo's own cards and badges keep their answers. Rows go in through one
// prepared statement per table inside one transaction, which keeps it quick.
struct FactorySize {
  int employees = 100;
  int postings = 1000;
  int cards = 0;
};

// The assembly operator of the demo factory, who posts the generated cards.
inline constexpr const char* kAssemblyBadge = "1004";
// The employee code behind kAssemblyBadge.
inline constexpr const char* kAssemblyEmployee = "004";

// The 14-character code of generated card `number` (0 <= number < cards): a
// whole card of a men's shoe already cut (sector 10) and stitched in-house
// (sector 21), so assembly accepts it once and refuses it afterwards.
std::string postableCard(int number);

// Copies the demo factory template to `database` and adds the rows.
void generateFactory(const std::filesystem::path& database, const FactorySize& size);

}  // namespace mts::bench
