#pragma once

#include <vector>

#include "dataaccess/firebird/Connection.h"

namespace mts::db {

// The database parameter block for attaching with `settings`: user, password,
// connection character set and SQL dialect. May throw Firebird::FbException.
std::vector<unsigned char> attachParameters(const ConnectionSettings& settings);

// The block for creating a database: the attach items plus page size 8192 and
// WIN1252 as the database's default character set.
std::vector<unsigned char> createParameters(const ConnectionSettings& settings);

}  // namespace mts::db
