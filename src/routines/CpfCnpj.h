#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Brazilian taxpayer numbers: CPF (individuals, 9 digits and 2 check digits)
// and CNPJ (companies, 12 digits and 2 check digits). Only the bytes '0' to
// '9' count as digits; every other byte of a text is ignored.
namespace mts {

// True when the digits of `text` are an 11-digit CPF or a 14-digit CNPJ whose
// two check digits are right (modulo-11 schemes). Any other count of digits is
// never valid. Numbers of one repeated digit are valid when their check digits
// work out (eleven zeros, eleven ones, fourteen zeros...).
bool CgcCpfValido(std::string_view text) noexcept;

// The digits of `text`, in their order.
std::string desFormataCGCCPF(std::string_view text);

// The digits of `text` punctuated as a CPF (ddd.ddd.ddd-dd) when there are 11,
// as a CNPJ (dd.ddd.ddd/dddd-dd) when there are 14, and bare otherwise. The
// check digits are not looked at.
std::string formataCGCCPF(std::string_view text);

// Keeps only the digits of the zero-terminated text in `buffer`, moved to its
// start and terminated by a zero byte. Returns `buffer`; a null buffer is
// returned as it is.
char* des(char* buffer) noexcept;

// Forms that write into memory the caller provides, for callers that must not
// allocate (the exported C functions). They write no terminator.

// Length of desFormataCGCCPF(text).
std::size_t DigitCount(std::string_view text) noexcept;
// Writes desFormataCGCCPF(text) to `out`, which must hold DigitCount(text)
// bytes; returns the end of what it wrote.
char* CopyDigits(std::string_view text, char* out) noexcept;

// Length of formataCGCCPF(text).
std::size_t FormattedLength(std::string_view text) noexcept;
// Writes formataCGCCPF(text) to `out`, which must hold FormattedLength(text)
// bytes and must not overlap `text`; returns the end of what it wrote.
char* CopyFormatted(std::string_view text, char* out) noexcept;

}  // namespace mts
