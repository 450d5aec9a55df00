#pragma once

#include <filesystem>
#include <string>

#include "support/ChildProcess.h"

namespace mts::test {

// `text` as an SQL string literal: in single quotes, inner quotes doubled.
std::string sqlStringLiteral(const std::string& text);

// Creates the database file `database` (it must not exist: page size 8192,
// default character set WIN1252) and runs the isql script `schema` in it as
// SYSDBA over a WIN1252 connection, stopping at the first error. The script
// holds no CREATE DATABASE or CONNECT. Nothing else may have the file open.
// `environment` goes to isql (a private engine root, for instance). Throws
// std::runtime_error carrying isql's output when the script fails.
void buildDatabaseFromSchema(const std::filesystem::path& database,
                             const std::filesystem::path& schema,
                             const Environment& environment = {});

// A database built from `schema` once and kept in the build tree, named after
// the script and a hash of its text, so a changed script gets a new one. Copy
// it; never open it (a test that opened it would lock it for every other test
// process). Safe when several test processes ask at once.
std::filesystem::path templateDatabase(const std::filesystem::path& schema);

}  // namespace mts::test
