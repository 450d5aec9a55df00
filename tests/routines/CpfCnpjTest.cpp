#include "routines/CpfCnpj.h"

#include <gtest/gtest.h>

#include <string>

// Check digits of the valid numbers below were worked out with the usual
// modulo-11 schemes (weights 10..2 and 11..2 for CPF, 5..2 9..2 and 6..2 9..2
// for CNPJ), independently of the code under test.
namespace mts {
namespace {

struct Validity {
  std::string text;
  bool valid;
};

void PrintTo(const Validity& v, std::ostream* os) {
  *os << testing::PrintToString(v.text) << (v.valid ? " valid" : " not valid");
}

class CgcCpfValidoCase : public testing::TestWithParam<Validity> {};

TEST_P(CgcCpfValidoCase, Judges) {
  EXPECT_EQ(CgcCpfValido(GetParam().text), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cpf, CgcCpfValidoCase,
    testing::Values(Validity{"123.456.789-09", true}, Validity{"12345678909", true},
                    Validity{"529.982.247-25", true}, Validity{"111.444.777-35", true},
                    Validity{"012.345.678-90", true},
                    // First check digit 0, from usual remainders 1 and 0.
                    Validity{"347.712.782-02", true}, Validity{"730.573.909-00", true},
                    Validity{"655.969.870-00", true}, Validity{"423.938.499-04", true},
                    // Second check digit 0 from either remainder.
                    Validity{"575.398.922-50", true}, Validity{"161.973.069-30", true},
                    Validity{"123.456.789-00", false}, Validity{"123.456.789-19", false},
                    Validity{"123.456.789-08", false}, Validity{"529.982.247-52", false},
                    Validity{"347.712.782-12", false}, Validity{"347.712.782-03", false},
                    Validity{"730.573.909-10", false}, Validity{"161.973.069-31", false}));

INSTANTIATE_TEST_SUITE_P(
    Cnpj, CgcCpfValidoCase,
    testing::Values(Validity{"11.222.333/0001-81", true}, Validity{"11222333000181", true},
                    Validity{"11.444.777/0001-61", true}, Validity{"45.997.418/0001-53", true},
                    Validity{"19.131.100/0001-85", true}, Validity{"99.999.999/9999-62", true},
                    // Check digits 0 from remainders 0 and 1.
                    Validity{"20.387.284/5815-03", true}, Validity{"73.313.316/9368-03", true},
                    Validity{"16.245.402/5769-00", true}, Validity{"27.545.296/9317-20", true},
                    Validity{"26.911.436/3438-30", true}, Validity{"11.222.333/0001-82", false},
                    Validity{"11.222.333/0001-91", false}, Validity{"11.222.333/0001-18", false},
                    Validity{"45.997.418/0001-35", false}, Validity{"20.387.284/5815-13", false},
                    Validity{"16.245.402/5769-01", false}));

INSTANTIATE_TEST_SUITE_P(
    RepeatedDigits, CgcCpfValidoCase,
    testing::Values(Validity{"00000000000", true}, Validity{"11111111111", true},
                    Validity{"99999999999", true}, Validity{"00000000000000", true},
                    Validity{"11111111111180", true}, Validity{"11111111111111", false},
                    // Counts that can never be valid, even when every digit is the same.
                    Validity{"000000000", false}, Validity{"0000000000", false},
                    Validity{"000000000000", false}, Validity{"0000000000000", false},
                    Validity{"000000000000000", false}));

INSTANTIATE_TEST_SUITE_P(
    DigitCounts, CgcCpfValidoCase,
    testing::Values(Validity{"", false}, Validity{"12345678", false}, Validity{"1", false},
                    // A valid CPF cut short, or with digits added.
                    Validity{"123456789", false}, Validity{"1234567890", false},
                    Validity{"123456789090", false}, Validity{"0123456789090", false},
                    // A valid CNPJ cut short, or with a digit added either end.
                    Validity{"112223330001", false}, Validity{"1122233300018", false},
                    Validity{"112223330001810", false}, Validity{"011222333000181", false}));

INSTANTIATE_TEST_SUITE_P(OtherBytesIgnored, CgcCpfValidoCase,
                         testing::Values(Validity{"a12345678909", true},
                                         Validity{"1234a5678909", true},
                                         Validity{"12345678909a", true},
                                         Validity{"CPF: 123 456 789 / 09.", true},
                                         Validity{"CNPJ 11 222 333 0001 81", true},
                                         // Superscript digits and other high bytes are not digits.
                                         Validity{"\xB9"
                                                  "123.456.789-09\xB2\xB3",
                                                  true},
                                         Validity{"\xE9\xFF\x80"
                                                  "11222333000181",
                                                  true},
                                         Validity{"123.456.789-0\xB9", false}));

struct Layout {
  std::string text;
  std::string digits;
  std::string formatted;
};

void PrintTo(const Layout& l, std::ostream* os) {
  *os << testing::PrintToString(l.text);
}

class CpfCnpjLayout : public testing::TestWithParam<Layout> {};

TEST_P(CpfCnpjLayout, StripsToDigits) {
  EXPECT_EQ(desFormataCGCCPF(GetParam().text), GetParam().digits);
  EXPECT_EQ(DigitCount(GetParam().text), GetParam().digits.size());
}

TEST_P(CpfCnpjLayout, AppliesTheMaskOfItsDigitCount) {
  EXPECT_EQ(formataCGCCPF(GetParam().text), GetParam().formatted);
  EXPECT_EQ(FormattedLength(GetParam().text), GetParam().formatted.size());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CpfCnpjLayout,
    testing::Values(Layout{"12345678909", "12345678909", "123.456.789-09"},
                    Layout{"11222333000181", "11222333000181", "11.222.333/0001-81"},
                    Layout{"11.222.333/0001-81", "11222333000181", "11.222.333/0001-81"},
                    Layout{"123.456.789-09", "12345678909", "123.456.789-09"},
                    // Masked whether or not the check digits are right.
                    Layout{"123.456.789-00", "12345678900", "123.456.789-00"},
                    Layout{"99999999999999", "99999999999999", "99.999.999/9999-99"},
                    // Re-punctuated from whatever layout it came in.
                    Layout{"1.234.567/89-09", "12345678909", "123.456.789-09"},
                    Layout{"CNPJ 11 222 333 0001 81.", "11222333000181", "11.222.333/0001-81"},
                    Layout{"\xB9"
                           "1-2-3-4-5-6-7-8-9-0-9\xB2",
                           "12345678909", "123.456.789-09"},
                    // Other counts stay bare.
                    Layout{"123456789", "123456789", "123456789"},
                    Layout{"12.345.678-9", "123456789", "123456789"},
                    Layout{"1.2.3.4.5.6.7.8.9.0.1.2.3", "1234567890123", "1234567890123"},
                    Layout{"112.223.330.001.810", "112223330001810", "112223330001810"},
                    Layout{"7", "7", "7"}, Layout{"abc./-", "", ""}, Layout{"", "", ""}));

struct Stripping {
  std::string text;
  std::string kept;
};

void PrintTo(const Stripping& s, std::ostream* os) {
  *os << testing::PrintToString(s.text);
}

class DesCase : public testing::TestWithParam<Stripping> {};

TEST_P(DesCase, KeepsTheDigitsInPlace) {
  std::string buffer = GetParam().text + '\0' + "tail";
  char* const start = buffer.data();
  EXPECT_EQ(des(start), start);
  EXPECT_STREQ(start, GetParam().kept.c_str());
  EXPECT_STREQ(start + GetParam().text.size() + 1, "tail");
}

INSTANTIATE_TEST_SUITE_P(Texts, DesCase,
                         testing::Values(Stripping{"CPF: 123.456", "123456"},
                                         Stripping{"11.222.333/0001-81", "11222333000181"},
                                         Stripping{"12345", "12345"},
                                         Stripping{"a\xB2"
                                                   "1\xE9"
                                                   "2",
                                                   "12"},
                                         Stripping{"abc", ""}, Stripping{"", ""}));

TEST(Des, LeavesANullBufferAlone) {
  EXPECT_EQ(des(nullptr), nullptr);
}

}  // namespace
}  // namespace mts
