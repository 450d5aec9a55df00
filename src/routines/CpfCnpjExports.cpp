// The C interface of libmtsdocs.so over the CPF/CNPJ routines. It never
// allocates and never throws, so a C caller sees no exception and no leak.
#include <string_view>

#include "mtsdocs.h"
#include "routines/CpfCnpj.h"

namespace {

std::string_view TextOf(const char* text) noexcept {
  return text == nullptr ? std::string_view{} : std::string_view{text};
}

// Puts a text result of `length` bytes, produced by `write`, into the
// caller's buffer when it fits with its terminator, and the empty text when it
// does not. Returns the length the whole result needs.
template <typename Write>
size_t Deliver(size_t length, char* out, size_t outSize, Write write) noexcept {
  if (out == nullptr || outSize == 0) return length;
  if (length >= outSize) {
    out[0] = '\0';
    return length;
  }
  *write(out) = '\0';
  return length;
}

}  // namespace

extern "C" {

unsigned char CgcCpfValido(const char* text) noexcept {
  return mts::CgcCpfValido(TextOf(text)) ? 1 : 0;
}

size_t formataCGCCPF(const char* text, char* out, size_t out_size) noexcept {
  const std::string_view t = TextOf(text);
  return Deliver(mts::FormattedLength(t), out, out_size,
                 [t](char* to) { return mts::CopyFormatted(t, to); });
}

size_t desFormataCGCCPF(const char* text, char* out, size_t out_size) noexcept {
  const std::string_view t = TextOf(text);
  return Deliver(mts::DigitCount(t), out, out_size,
                 [t](char* to) { return mts::CopyDigits(t, to); });
}

char* des(char* buffer) noexcept {
  return mts::des(buffer);
}

}  // extern "C"
