#include "server/IniFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace mts {
namespace {

struct LookupCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  const char* expected;  // the default "<none>" comes back when absent
};

void PrintTo(const LookupCase& c, std::ostream* out) {
  *out << c.name;
}

class IniLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, ReadsAsWindowsDoes) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(IniFile::fromText(c.text).readString(c.section, c.key, "<none>"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniLookup,
    testing::Values(
        LookupCase{"plain", "[A]\nK=v\n", "A", "K", "v"},
        LookupCase{"section_and_key_in_other_case", "[server-config]\nPorta-Ip=9\n",
                   "SERVER-CONFIG", "PORTA-IP", "9"},
        LookupCase{"blanks_around_equals_and_ends", "[A]\n  K  =   two words  \t\n", "A", "K",
                   "two words"},
        LookupCase{"crlf_lines", "[A]\r\nK=v\r\nL=w\r\n", "A", "L", "w"},
        LookupCase{"lone_cr_lines", "[A]\rK=v\rL=w", "A", "L", "w"},
        LookupCase{"no_final_line_end", "[A]\nK=last", "A", "K", "last"},
        LookupCase{"value_keeps_later_equals", "[A]\nK=a=b==c\n", "A", "K", "a=b==c"},
        LookupCase{"empty_value_is_present", "[A]\nK=\n", "A", "K", ""},
        LookupCase{"double_quotes_removed", "[A]\nK=\" padded \"\n", "A", "K", " padded "},
        LookupCase{"single_quotes_removed", "[A]\nK='x'\n", "A", "K", "x"},
        LookupCase{"unmatched_quote_kept", "[A]\nK=\"x\n", "A", "K", "\"x"},
        LookupCase{"semicolon_comment", "[A]\n;K=no\nK=yes\n", "A", "K", "yes"},
        LookupCase{"hash_comment", "[A]\n  # K=no\nK=yes\n", "A", "K", "yes"},
        LookupCase{"first_duplicate_key_wins", "[A]\nK=1\nk=2\n", "A", "K", "1"},
        LookupCase{"first_duplicate_section_wins", "[A]\nK=1\n[B]\n[a]\nK=2\nL=3\n", "A", "L",
                   "<none>"},
        LookupCase{"key_in_other_section_absent", "[A]\nK=1\n[B]\n", "B", "K", "<none>"},
        LookupCase{"lines_before_any_section_ignored", "K=0\n[A]\n", "A", "K", "<none>"},
        LookupCase{"line_without_equals_ignored", "[A]\nK\n", "A", "K", "<none>"},
        LookupCase{"blanks_inside_section_brackets", "[ A ]\nK=v\n", "A", "K", "v"},
        LookupCase{"utf8_bom_skipped", "\xEF\xBB\xBF[A]\nK=v\n", "A", "K", "v"},
        LookupCase{"windows_1252_bytes_kept", "[A]\nK=Jo\xE3o\n", "A", "K", "Jo\xE3o"},
        LookupCase{"missing_section", "", "A", "K", "<none>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, SectionValuesInFileOrderWithValuesAsRead) {
  IniFile ini = IniFile::fromText(
      "[ip_terminal_led]\r\n1=127.0.0.1\r\n 2 = 10.0.0.7 \r\nx=a=b\r\n1=dup\r\n;3=no\r\n"
      "[OTHER]\r\n4=z\r\n");
  EXPECT_EQ(ini.readSectionValues("IP_TERMINAL_LED"),
            (std::vector<std::string>{"1=127.0.0.1", "2=10.0.0.7", "x=a=b"}));
  EXPECT_TRUE(ini.readSectionValues("MISSING").empty());
}

TEST(IniFile, IntegerKeysFallBackToTheirDefault) {
  IniFile ini = IniFile::fromText("[A]\nN=42\nBad=12a\nEmpty=\nHex=$1F\n");
  EXPECT_EQ(ini.readInteger("A", "N", 7), 42);
  EXPECT_EQ(ini.readInteger("A", "Bad", 7), 7);
  EXPECT_EQ(ini.readInteger("A", "Empty", 7), 7);
  EXPECT_EQ(ini.readInteger("A", "Missing", 7), 7);
  EXPECT_EQ(ini.readInteger("A", "Hex", 7), 31);
}

TEST(IniFile, IntegerConversion) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"1001", 1001},
      {"-5", -5},
      {"+7", 7},
      {"0", 0},
      {"$ff", 255},
      {"0x10", 16},
      {"0X1a", 26},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", -2147483647 - 1},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"--1", std::nullopt},
      {"$", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(parseIniInteger(text), expected) << '"' << text << '"';
  }
}

TEST(IniFile, MissingFileReadsAsEmpty) {
  IniFile ini = IniFile::fromFile(std::filesystem::temp_directory_path() / "no-such-dir" / "x.ini");
  EXPECT_EQ(ini.readString("BDADOS-CONFIG", "BDADOS", "ERRO"), "ERRO");
}

TEST(IniFile, ReadsFileBytes) {
  testing_support::TempFolder folder;
  testing_support::WriteFile(folder / "s.ini",
                             "[BDADOS-CONFIG]\r\nBDADOS = C:\\Dados\\F\xC1"
                             "BRICA.FDB\r\n");
  EXPECT_EQ(IniFile::fromFile(folder / "s.ini").readString("bdados-config", "bdados", ""),
            "C:\\Dados\\F\xC1"
            "BRICA.FDB");
}

}  // namespace
}  // namespace mts
