#pragma once

#include <string_view>
#include <vector>

#include "dataaccess/firebird/Connection.h"

namespace mts::db {

// True when `database` names a database behind a Firebird server ("host:path",
// "host/port:path", "inet4://host:port/path") rather than a file the embedded
// engine opens (an absolute path, or a relative one without a colon).
bool isRemoteDatabase(std::string_view database);

// The database parameter block for attaching with `settings`: user, password,
// connection character set and SQL dialect; for a remote database also the
// client library's own connect timeout, a second past the settings' one (see
// BoundedAttach). May throw Firebird::FbException.
std::vector<unsigned char> attachParameters(const ConnectionSettings& settings);

// The block for creating a database: the attach items plus page size 8192 and
// WIN1252 as the database's default character set.
std::vector<unsigned char> createParameters(const ConnectionSettings& settings);

}  // namespace mts::db
