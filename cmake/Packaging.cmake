# The Debian packages, made by CPack from a release build (scripts/package):
#   mtserver        the server, mtterm, the systemd unit, the sample settings
#                   (a conffile) and the scripts that make the system user
#   mtserver-dev    libmtsdocs.so and its header, for programs that call it
#   *-dbgsym.ddeb   the debug symbols of both, apart from the stripped programs
# Their version is the build's (src/version), read when cpack runs, so a
# package is never labelled with the version of an earlier build.

# "make install" (which cpack runs) installs what was built and builds
# nothing: scripts/package builds the packaged targets, not the test suite.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(MTS_LIB_DIR lib)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(MTS_LIB_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
endif()

set(MTS_PACKAGE_MAINTAINER "Shop-floor systems <mtserver@example.com>"
    CACHE STRING "Maintainer field of the Debian packages")

install(TARGETS mtserver mtterm RUNTIME DESTINATION bin COMPONENT server)
install(FILES ${CMAKE_SOURCE_DIR}/deploy/mtserver.service DESTINATION /lib/systemd/system
        COMPONENT server)
install(FILES ${CMAKE_SOURCE_DIR}/deploy/mtserver.ini DESTINATION /etc/mtserver
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ COMPONENT server)
install(TARGETS mtsdocs
        LIBRARY DESTINATION ${MTS_LIB_DIR} COMPONENT dev
        PUBLIC_HEADER DESTINATION include COMPONENT dev)

# Each package's /usr/share/doc/<package>: copyright and changelog.
configure_file(${CMAKE_SOURCE_DIR}/cmake/PackageChangelog.cmake.in
               ${CMAKE_BINARY_DIR}/PackageChangelog.cmake @ONLY)
foreach(component IN ITEMS server dev)
  set(package mtserver)
  if(component STREQUAL dev)
    set(package mtserver-dev)
  endif()
  install(CODE "include(\"${CMAKE_BINARY_DIR}/PackageChangelog.cmake\")
                mts_write_changelog(${package})" COMPONENT ${component})
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${package}/changelog.gz
                ${CMAKE_SOURCE_DIR}/deploy/debian/copyright
          DESTINATION share/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mtserver)
set(CPACK_PACKAGE_CONTACT "${MTS_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL server dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Strips the programs and the library, and keeps what it took out apart in
# the -dbgsym packages (by build id, where gdb looks for it).
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME mtserver)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION net)
# Found by dpkg-shlibdeps: the Firebird client, the Qt libraries, libsystemd.
# adduser makes the system user.
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser")
# The window needs Qt's platform plugins; the service runs without one.
set(CPACK_DEBIAN_SERVER_PACKAGE_RECOMMENDS "qt6-qpa-plugins")
# A database file on this machine needs the embedded engine; a Firebird server
# here serves it to the ERP as well.
set(CPACK_DEBIAN_SERVER_PACKAGE_SUGGESTS "firebird3.0-server-core, firebird3.0-server")
set(CPACK_DEBIAN_SERVER_DESCRIPTION
    "shop-floor production tracking server for micro terminals
Micro terminals connect over TCP; operators log in with a badge and scan
production cards. The server validates each card and records the production
in the factory's Firebird database. It runs as the systemd service mtserver;
mtterm simulates a terminal for trying it without the hardware.")
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/deploy/debian/conffiles ${CMAKE_SOURCE_DIR}/deploy/debian/postinst
    ${CMAKE_SOURCE_DIR}/deploy/debian/prerm ${CMAKE_SOURCE_DIR}/deploy/debian/postrm)

set(CPACK_DEBIAN_DEV_PACKAGE_NAME mtserver-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# The library's folder is ldconfig's: it runs once dpkg is done.
set(CPACK_DEBIAN_DEV_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/packaging/triggers)
set(CPACK_DEBIAN_DEV_DESCRIPTION
    "CPF and CNPJ routines of the shop-floor server, for other programs
libmtsdocs.so exports the server's CPF and CNPJ check and format routines
with a C interface; mtsdocs.h declares them.")

configure_file(${CMAKE_SOURCE_DIR}/deploy/debian/triggers-dev ${CMAKE_BINARY_DIR}/packaging/triggers
               COPYONLY)

# The version is only known once the build ran: cpack reads it then.
configure_file(${CMAKE_SOURCE_DIR}/cmake/CPackBuildVersion.cmake.in
               ${CMAKE_BINARY_DIR}/CPackBuildVersion.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackBuildVersion.cmake)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})

include(CPack)
