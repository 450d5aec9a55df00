#pragma once

#include <filesystem>

namespace mts::bench {

// Grows a copy of the demo factory to a chosen size: `employees` more
// employees (active, with badges, some with a sector) and `postings` earlier
// postings in PRODUCAO_SETOR on programmes of their own, so that the demo's
// cards and badges keep their answers. Rows go in through one prepared
// statement per table inside one transaction, which keeps it quick.
struct FactorySize {
  int employees = 100;
  int postings = 1000;
};

// Copies the demo factory template to `database` and adds the rows.
void generateFactory(const std::filesystem::path& database, const FactorySize& size);

}  // namespace mts::bench
