# Run at every build (cmake -P) by the mts_version_stamp target: works out the
# version of the tree being built and rewrites the generated files only when
# it changed, so a build of an unchanged commit recompiles nothing.
#
#   -DSOURCE_DIR=...  the source tree (a git work tree, or not)
#   -DBASE_VERSION=... the base version number from the project()
#   -DOUTPUT_DIR=...  where BuildVersionText.h and version.txt go
#
# The version is BASE+COUNT.gHASH: COUNT commits in the history (so a later
# commit sorts after an earlier one, as dpkg compares versions), HASH the
# commit itself, and ".dirty" when tracked files differ from it. Outside a git
# work tree it is the base version alone.
set(version "${BASE_VERSION}")
find_program(GIT_EXECUTABLE git)
if(GIT_EXECUTABLE)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=10 HEAD
                  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE hash_status
                  OUTPUT_VARIABLE hash OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(hash_status EQUAL 0)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
                    WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE count OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} status --porcelain --untracked-files=no
                    WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    set(version "${BASE_VERSION}+${count}.g${hash}")
    if(NOT changes STREQUAL "")
      string(APPEND version ".dirty")
    endif()
  endif()
endif()

set(MTS_BUILD_VERSION "${version}")
# configure_file leaves a file whose content would not change untouched.
configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildVersionText.h.in ${OUTPUT_DIR}/BuildVersionText.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.txt.in ${OUTPUT_DIR}/version.txt @ONLY)
