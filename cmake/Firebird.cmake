# The Firebird client library ships no CMake package or pkg-config file.
find_path(FIREBIRD_INCLUDE_DIR firebird/Interface.h PATHS /usr/include)
find_library(FIREBIRD_LIBRARY NAMES fbclient)
if(NOT FIREBIRD_INCLUDE_DIR OR NOT FIREBIRD_LIBRARY)
  message(FATAL_ERROR "Firebird client not found: install firebird-dev and libfbclient2 (scripts/setup-machine)")
endif()
add_library(Firebird::fbclient UNKNOWN IMPORTED)
set_target_properties(Firebird::fbclient PROPERTIES
  IMPORTED_LOCATION ${FIREBIRD_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${FIREBIRD_INCLUDE_DIR})
find_program(FIREBIRD_ISQL NAMES isql-fb isql)
# The server binary, for tests that run a private Firebird server.
find_program(FIREBIRD_SERVER NAMES firebird PATHS /usr/sbin /opt/firebird/bin NO_DEFAULT_PATH)
