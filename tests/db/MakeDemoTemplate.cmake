# cmake -DCREATE_DATABASE=<db/create-database> -DTEMPLATE=<file> -P MakeDemoTemplate.cmake
# Makes the demo factory database afresh at TEMPLATE.
get_filename_component(folder ${TEMPLATE} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(REMOVE ${TEMPLATE})
execute_process(COMMAND ${CREATE_DATABASE} --demo ${TEMPLATE}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "db/create-database --demo failed (${status}):\n${output}")
endif()
