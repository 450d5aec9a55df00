// Calls the four functions through libmtsdocs.so itself, loaded at run time
// the way another program would load it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "mtsdocs.h"

namespace {

class ExportedFunctions : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    library_ = dlopen(MTS_DOCS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
    valido_ = Resolve<decltype(&::CgcCpfValido)>("CgcCpfValido");
    formata_ = Resolve<decltype(&::formataCGCCPF)>("formataCGCCPF");
    desFormata_ = Resolve<decltype(&::desFormataCGCCPF)>("desFormataCGCCPF");
    des_ = Resolve<decltype(&::des)>("des");
  }

  static void TearDownTestSuite() {
    if (library_ != nullptr) dlclose(library_);
    library_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(library_, nullptr);
    ASSERT_NE(valido_, nullptr);
    ASSERT_NE(formata_, nullptr);
    ASSERT_NE(desFormata_, nullptr);
    ASSERT_NE(des_, nullptr);
  }

  template <typename Function>
  static Function Resolve(const char* name) {
    return reinterpret_cast<Function>(dlsym(library_, name));
  }

  static inline void* library_ = nullptr;
  static inline decltype(&::CgcCpfValido) valido_ = nullptr;
  static inline decltype(&::formataCGCCPF) formata_ = nullptr;
  static inline decltype(&::desFormataCGCCPF) desFormata_ = nullptr;
  static inline decltype(&::des) des_ = nullptr;
};

TEST_F(ExportedFunctions, ValidityIsOneOrZero) {
  EXPECT_EQ(valido_("123.456.789-09"), 1);
  EXPECT_EQ(valido_("123.456.789-00"), 0);
  EXPECT_EQ(valido_("11.222.333/0001-81"), 1);
  EXPECT_EQ(valido_("11.222.333/0001-82"), 0);
  EXPECT_EQ(valido_("00000000000"), 1);
  EXPECT_EQ(valido_("12345678"), 0);
  EXPECT_EQ(valido_(""), 0);
  EXPECT_EQ(valido_(nullptr), 0);
}

TEST_F(ExportedFunctions, WriteTheWholeResultWhenItFits) {
  std::array<char, 32> out{};
  EXPECT_EQ(formata_("12345678909", out.data(), out.size()), 14u);
  EXPECT_STREQ(out.data(), "123.456.789-09");
  EXPECT_EQ(formata_("11222333000181", out.data(), out.size()), 18u);
  EXPECT_STREQ(out.data(), "11.222.333/0001-81");
  EXPECT_EQ(formata_("123456789", out.data(), out.size()), 9u);
  EXPECT_STREQ(out.data(), "123456789");
  EXPECT_EQ(desFormata_("11.222.333/0001-81", out.data(), out.size()), 14u);
  EXPECT_STREQ(out.data(), "11222333000181");
  EXPECT_EQ(desFormata_("CPF: 123.456", out.data(), out.size()), 6u);
  EXPECT_STREQ(out.data(), "123456");
}

TEST_F(ExportedFunctions, EmptyResultsAndNullTexts) {
  for (const char* text : {"", "abc", static_cast<const char*>(nullptr)}) {
    std::array<char, 4> out{'X', 'X', 'X', 'X'};
    EXPECT_EQ(formata_(text, out.data(), out.size()), 0u);
    EXPECT_STREQ(out.data(), "");
    out.fill('X');
    EXPECT_EQ(desFormata_(text, out.data(), out.size()), 0u);
    EXPECT_STREQ(out.data(), "");
  }
}

// For every buffer size around the result's length: the needed length comes
// back, the result is written only with room for its terminator, an empty
// text otherwise, and nothing beyond the given size is touched.
TEST_F(ExportedFunctions, NeverWritePastTheBuffer) {
  struct Call {
    decltype(&::formataCGCCPF) function;
    const char* text;
    std::string result;
  };
  for (const Call& call : {Call{formata_, "11222333000181", "11.222.333/0001-81"},
                           Call{formata_, "529.982.247-25", "529.982.247-25"},
                           Call{desFormata_, "11.222.333/0001-81", "11222333000181"}}) {
    const std::size_t length = call.result.size();
    for (std::size_t size = 0; size <= length + 2; ++size) {
      SCOPED_TRACE(std::string(call.text) + " into " + std::to_string(size) + " bytes");
      std::array<char, 40> out;
      out.fill('X');
      EXPECT_EQ(call.function(call.text, out.data(), size), length);
      const std::size_t written = size == 0 ? 0 : size > length ? length + 1 : 1;
      if (size > length) {
        EXPECT_STREQ(out.data(), call.result.c_str());
      } else if (size > 0) {
        EXPECT_EQ(out[0], '\0');
      }
      for (std::size_t i = written; i < out.size(); ++i) ASSERT_EQ(out[i], 'X') << "byte " << i;
    }
  }
}

TEST_F(ExportedFunctions, MeasureWithoutABuffer) {
  EXPECT_EQ(formata_("12345678909", nullptr, 0), 14u);
  EXPECT_EQ(formata_("12345678909", nullptr, 100), 14u);
  EXPECT_EQ(desFormata_("123.456.789-09", nullptr, 0), 11u);
  EXPECT_EQ(desFormata_("123.456.789-09", nullptr, 100), 11u);
  EXPECT_EQ(formata_(nullptr, nullptr, 0), 0u);

  // Measure, then allocate exactly, as the header shows.
  const char* text = "tel 5551234 ramal 99 doc 1122233300018112";
  const std::size_t needed = desFormata_(text, nullptr, 0);
  std::string buffer(needed + 1, 'X');
  EXPECT_EQ(desFormata_(text, buffer.data(), buffer.size()), needed);
  EXPECT_STREQ(buffer.c_str(), "5551234991122233300018112");
  EXPECT_EQ(std::strlen(buffer.c_str()), needed);
}

TEST_F(ExportedFunctions, DesStripsInPlace) {
  char buffer[] = "CPF: 123.456\0tail";
  EXPECT_EQ(des_(buffer), buffer);
  EXPECT_STREQ(buffer, "123456");
  EXPECT_STREQ(buffer + 13, "tail");

  char noDigits[] = "-./";
  EXPECT_EQ(des_(noDigits), noDigits);
  EXPECT_STREQ(noDigits, "");

  EXPECT_EQ(des_(nullptr), nullptr);
}

}  // namespace
