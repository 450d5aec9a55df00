#include "routines/CpfCnpj.h"

#include <algorithm>
#include <array>
#include <span>

namespace mts {

namespace {

constexpr std::size_t kCpfDigits = 11;
constexpr std::size_t kCnpjDigits = 14;

// Masks: each kDigitSlot takes the next digit, other bytes are punctuation.
constexpr char kDigitSlot = '#';
constexpr std::string_view MascaraCPF = "###.###.###-##";
constexpr std::string_view MascaraCNPJ = "##.###.###/####-##";

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The mask for a number of `digitCount` digits; empty when it stays bare.
constexpr std::string_view MaskFor(std::size_t digitCount) {
  if (digitCount == kCpfDigits) return MascaraCPF;
  if (digitCount == kCnpjDigits) return MascaraCNPJ;
  return {};
}

struct CheckDigits {
  int first;
  int second;
  bool operator==(const CheckDigits&) const = default;
};

CheckDigits CpfCheckDigits(std::span<const int, 9> d) {
  int s1 = 0;
  for (std::size_t i = 0; i < d.size(); ++i) s1 += static_cast<int>(i + 1) * d[i];
  const int r1 = s1 % 11;
  // The second sum weighs the nine digits 9..1, which already accounts for
  // the first check digit, except when r1 is 10 and that digit is written as
  // 0: the 9 put in front makes up for it.
  int s2 = r1 == 10 ? 9 : 0;
  for (std::size_t i = 0; i < d.size(); ++i) s2 += static_cast<int>(9 - i) * d[i];
  const int r2 = s2 % 11;
  return {r1 == 10 ? 0 : r1, r2 == 10 ? 0 : r2};
}

// Weighs the digits from the rightmost with 2, 3, ..., 9, then 2, 3, ...
// again; the check digit is 11 minus the sum modulo 11, with 10 and 11 as 0.
int CnpjCheckDigit(std::span<const int> digits) {
  int sum = 0;
  int weight = 2;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    sum += *it * weight;
    weight = weight == 9 ? 2 : weight + 1;
  }
  const int digit = 11 - sum % 11;
  return digit >= 10 ? 0 : digit;
}

CheckDigits CnpjCheckDigits(std::span<const int, 12> d) {
  std::array<int, 13> withFirst{};
  std::ranges::copy(d, withFirst.begin());
  withFirst.back() = CnpjCheckDigit(d);
  return {withFirst.back(), CnpjCheckDigit(withFirst)};
}

}  // namespace

// The CPF rule computes the check digits of the first nine digits, the CNPJ
// rule those of the first twelve; the number is valid when it is exactly those
// digits followed by their check digits. So only 11 and 14 digits can pass.
bool CgcCpfValido(std::string_view text) noexcept {
  const std::size_t count = DigitCount(text);
  if (count != kCpfDigits && count != kCnpjDigits) return false;

  std::array<int, kCnpjDigits> d{};
  std::size_t n = 0;
  for (const char c : text) {
    if (IsDigit(c)) d[n++] = c - '0';
  }
  if (count == kCpfDigits) {
    return CpfCheckDigits(std::span(d).first<9>()) == CheckDigits{d[9], d[10]};
  }
  return CnpjCheckDigits(std::span(d).first<12>()) == CheckDigits{d[12], d[13]};
}

std::string desFormataCGCCPF(std::string_view text) {
  std::string digits(DigitCount(text), '\0');
  CopyDigits(text, digits.data());
  return digits;
}

std::string formataCGCCPF(std::string_view text) {
  std::string formatted(FormattedLength(text), '\0');
  CopyFormatted(text, formatted.data());
  return formatted;
}

char* des(char* buffer) noexcept {
  if (buffer == nullptr) return nullptr;
  char* kept = buffer;
  for (const char* p = buffer; *p != '\0'; ++p) {
    if (IsDigit(*p)) *kept++ = *p;
  }
  *kept = '\0';
  return buffer;
}

std::size_t DigitCount(std::string_view text) noexcept {
  std::size_t count = 0;
  for (const char c : text) count += IsDigit(c) ? 1 : 0;
  return count;
}

char* CopyDigits(std::string_view text, char* out) noexcept {
  for (const char c : text) {
    if (IsDigit(c)) *out++ = c;
  }
  return out;
}

std::size_t FormattedLength(std::string_view text) noexcept {
  const std::size_t count = DigitCount(text);
  const std::string_view mask = MaskFor(count);
  return mask.empty() ? count : mask.size();
}

char* CopyFormatted(std::string_view text, char* out) noexcept {
  const std::string_view mask = MaskFor(DigitCount(text));
  if (mask.empty()) return CopyDigits(text, out);

  // The mask has one slot per digit of the text.
  auto next = text.begin();
  for (const char m : mask) {
    if (m != kDigitSlot) {
      *out++ = m;
      continue;
    }
    while (!IsDigit(*next)) ++next;
    *out++ = *next++;
  }
  return out;
}

}  // namespace mts
