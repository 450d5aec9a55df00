# Builds the sanitizers' run-time defaults (SanitizerDefaults.cpp) into every
# executable of the project, so that each process of a sanitizer build gets them
# however it is started: by ctest, from a shell, or by a test that starts the
# server. Call once, after every target is defined.

function(_mts_executables_under directory out)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  set(found)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(children DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(child IN LISTS children)
    _mts_executables_under(${child} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(mts_add_sanitizer_defaults)
  add_library(mts_sanitizer_defaults OBJECT ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/SanitizerDefaults.cpp)
  target_compile_definitions(mts_sanitizer_defaults PRIVATE
    MTS_LSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/lsan-suppressions.txt"
    MTS_TSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/tsan-suppressions.txt")
  _mts_executables_under(${PROJECT_SOURCE_DIR} executables)
  foreach(target IN LISTS executables)
    target_link_libraries(${target} PRIVATE mts_sanitizer_defaults)
  endforeach()
endfunction()
