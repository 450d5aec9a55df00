#include "mtterm/CommandLine.h"

#include <gtest/gtest.h>

namespace mts::termsim {
namespace {

TEST(CommandLine, DefaultsMakeAnInteractiveVt100TerminalOnTheLocalServer) {
  Options options;
  std::string error;
  ASSERT_TRUE(parseCommandLine({}, options, error)) << error;
  EXPECT_EQ(options.host, "127.0.0.1");
  EXPECT_EQ(options.port, 1001);
  EXPECT_EQ(options.dialect, Dialect::Vt100);
  EXPECT_FALSE(options.scripted());
  EXPECT_FALSE(options.raw);
}

TEST(CommandLine, EveryOptionIsRead) {
  Options options;
  std::string error;
  ASSERT_TRUE(parseCommandLine({"--dialect", "STX-ETX", "--source-address=127.0.0.2", "--keys",
                                "1{enter}", "--wait-for", "CRACHA:", "--settle-ms", "50",
                                "--timeout-ms=900", "--raw-file", "trace.txt", "server", "2001"},
                               options, error))
      << error;
  EXPECT_EQ(options.dialect, Dialect::StxEtx);
  EXPECT_EQ(options.sourceAddress, "127.0.0.2");
  EXPECT_EQ(options.keys, "1{enter}");
  EXPECT_EQ(options.waitFor, "CRACHA:");
  EXPECT_EQ(options.settleMs, 50);
  EXPECT_EQ(options.timeoutMs, 900);
  EXPECT_TRUE(options.raw);
  EXPECT_EQ(options.rawFile, "trace.txt");
  EXPECT_EQ(options.host, "server");
  EXPECT_EQ(options.port, 2001);
  EXPECT_TRUE(options.scripted());
}

TEST(CommandLine, AnEmptyKeyScriptIsStillScripted) {
  Options options;
  std::string error;
  ASSERT_TRUE(parseCommandLine({"--keys="}, options, error)) << error;
  EXPECT_TRUE(options.scripted());
}

struct Bad {
  std::vector<std::string> arguments;
  const char* messagePart;
};

class BadCommandLines : public ::testing::TestWithParam<Bad> {};

TEST_P(BadCommandLines, AreRefusedWithAReason) {
  Options options;
  std::string error;
  EXPECT_FALSE(parseCommandLine(GetParam().arguments, options, error));
  EXPECT_NE(error.find(GetParam().messagePart), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, BadCommandLines,
    ::testing::Values(Bad{{"--dialect", "vt52"}, "vt100 or stx"},
                      Bad{{"--dialect"}, "needs a value"}, Bad{{"--settle-ms", "0"}, "from 1"},
                      Bad{{"--timeout-ms", "5s"}, "whole number"},
                      Bad{{"--wait-for", ""}, "needs a text"}, Bad{{"--raw=yes"}, "takes no value"},
                      Bad{{"--colour"}, "unknown option --colour"}, Bad{{"host", "70000"}, "PORT"},
                      Bad{{"host", "port"}, "PORT"}, Bad{{"a", "1", "b"}, "too many"}));

}  // namespace
}  // namespace mts::termsim
