// The text rules that cut a typed or scanned card code into its parts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "production/CardCodeText.h"
#include "production/ParameterConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mts::fuzz::FuzzInput input(data, size);
  const int position = input.number();
  const int length = input.number();
  const std::string_view code = input.field();
  const std::string_view list = input.field();

  const std::string part = mts::cutCodeField(code, position, length);
  mts::fuzz::check(part.size() <= code.size());
  const auto first = static_cast<std::size_t>(static_cast<unsigned char>(position));
  const auto last = static_cast<std::size_t>(static_cast<unsigned char>(length));
  mts::fuzz::check(mts::codeCharacters(code, first, last).size() <= code.size());

  mts::isBlankText(code);
  mts::normaliseProgramme(part);
  const std::string subCard = mts::normaliseSubCard(part);
  mts::sectorListContains(list, part);
  const std::int32_t number = mts::integerFromText(code);
  mts::cutCardCode(number);
  mts::flagFromText(code);
  (void)subCard;
  return 0;
}
