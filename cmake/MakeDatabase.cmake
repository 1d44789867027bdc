# cmake -DSCHEMA=... -DOUT=... [-DKEEP=ON] [-DSQLITE3=...] -P MakeDatabase.cmake
# Builds a database from the schema into a temporary file and renames it into
# place. With KEEP, a database that is already there is left alone: it holds a
# school's records.
if(KEEP AND EXISTS "${OUT}")
  file(SIZE "${OUT}" size)
  if(size GREATER 0)
    return()
  endif()
endif()
if(NOT SQLITE3)
  set(SQLITE3 sqlite3)
endif()
get_filename_component(dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
set(tmp "${OUT}.new")
file(REMOVE "${tmp}")
execute_process(COMMAND "${SQLITE3}" -bail "${tmp}"
                INPUT_FILE "${SCHEMA}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "Could not build ${OUT} from ${SCHEMA}: ${err}")
endif()
file(CHMOD "${tmp}" PERMISSIONS OWNER_READ OWNER_WRITE)
file(RENAME "${tmp}" "${OUT}")
