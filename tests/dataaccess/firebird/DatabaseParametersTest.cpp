#include "dataaccess/firebird/DatabaseParameters.h"

#include <gtest/gtest.h>

#include <string>

namespace mts::db {
namespace {

struct DatabaseNameCase {
  const char* database;
  bool remote;
};

class RemoteDatabaseTest : public ::testing::TestWithParam<DatabaseNameCase> {};

// Only a remote database gets the connect timeout and its attach thread.
TEST_P(RemoteDatabaseTest, TellsAServerFromTheEmbeddedEngine) {
  EXPECT_EQ(isRemoteDatabase(GetParam().database), GetParam().remote) << GetParam().database;
}

INSTANTIATE_TEST_SUITE_P(
    Names, RemoteDatabaseTest,
    ::testing::Values(DatabaseNameCase{"/var/lib/mts/factory.fdb", false},
                      DatabaseNameCase{"/data/odd:name.fdb", false},
                      DatabaseNameCase{"data/factory.fdb", false}, DatabaseNameCase{"", false},
                      DatabaseNameCase{"dbhost:/var/lib/mts/factory.fdb", true},
                      DatabaseNameCase{"127.0.0.1/3051:/var/lib/mts/factory.fdb", true},
                      DatabaseNameCase{"inet4://dbhost:3051//var/lib/mts/factory.fdb", true},
                      DatabaseNameCase{"dbhost:factory", true}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace mts::db
