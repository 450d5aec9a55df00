// Query templates: placeholders and criteria spliced into SQL text lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "dataaccess/VNSQLQuery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mts::fuzz::FuzzInput input(data, size);
  const int templateLines = input.number() & 7;
  const int criteria = input.number() & 3;

  std::vector<std::string> lines;
  for (int i = 0; i < templateLines; ++i) lines.emplace_back(input.field());

  mts::TVNSQLQuery query;
  query.setSQL(lines);
  for (int i = 0; i < criteria; ++i) {
    const std::string name(input.field());
    const std::string criterion(input.field());
    query.Criteria().add(name, criterion, (input.number() & 1) == 0);
  }
  query.ExtrairStringParams();
  for (mts::TStringParam& param : query.StringParams()) {
    param.setValue(std::string(input.field()));
  }
  query.ExpandirSQL();
  query.ExecutedSQLText();
  query.CopiarCriteriosAtivos();

  const std::string keyword(input.field());
  mts::TVNSQLQuery::LinhaContendo(query.ExecutedSQL(), keyword);
  for (const std::string& line : query.ExecutedSQL()) {
    const std::string broken = mts::TVNSQLQuery::QuebrarAntes(line, keyword);
    // A line break is only ever added.
    mts::fuzz::check(broken.size() == line.size() || broken.size() == line.size() + 2);
  }
  return 0;
}
