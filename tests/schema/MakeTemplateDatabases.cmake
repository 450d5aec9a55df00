# cmake -DDB_DIR=<db folder> -DOUT_DIR=<folder> -P MakeTemplateDatabases.cmake
# Makes OUT_DIR/schema.fdb and OUT_DIR/demo.fdb afresh with db/create-database.
file(MAKE_DIRECTORY ${OUT_DIR})
foreach(kind schema demo)
  file(REMOVE ${OUT_DIR}/${kind}.fdb)
  set(options "")
  if(kind STREQUAL "demo")
    set(options --demo)
  endif()
  execute_process(COMMAND ${DB_DIR}/create-database ${options} ${OUT_DIR}/${kind}.fdb
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "db/create-database ${options} failed (${status}):\n${output}")
  endif()
endforeach()
