// The text and document routines: CPF/CNPJ, as the server and other programs
// call them, and the accent folding of terminal text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "routines/CpfCnpj.h"
#include "routines/FoldAccents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::string digits = mts::desFormataCGCCPF(text);
  const std::string formatted = mts::formataCGCCPF(text);
  mts::CgcCpfValido(text);

  // The allocation-free forms write exactly what the string forms return.
  mts::fuzz::check(mts::DigitCount(text) == digits.size());
  mts::fuzz::check(mts::FormattedLength(text) == formatted.size());
  std::vector<char> buffer(formatted.size() + digits.size() + 1);
  mts::CopyDigits(text, buffer.data());
  mts::fuzz::check(std::memcmp(buffer.data(), digits.data(), digits.size()) == 0);
  mts::CopyFormatted(text, buffer.data());
  mts::fuzz::check(std::memcmp(buffer.data(), formatted.data(), formatted.size()) == 0);

  // Formatting keeps the digits and their validity.
  mts::fuzz::check(mts::desFormataCGCCPF(formatted) == digits);
  mts::fuzz::check(mts::CgcCpfValido(formatted) == mts::CgcCpfValido(digits));

  std::string inPlace(text.substr(0, text.find('\0')));
  mts::des(inPlace.data());

  // Plain ASCII passes through folding unchanged.
  const std::string folded = mts::FoldAccents(text);
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) mts::fuzz::check(folded == text);
  return 0;
}
