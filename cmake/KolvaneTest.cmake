# add_kolvane_test(NAME n SOURCES s... LIBS l...)
function(add_kolvane_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kolvane_testsupport Qt6::Test)
  # Mouse input through the window, as real input arrives.
  target_compile_definitions(${T_NAME} PRIVATE QTEST_QPA_MOUSE_HANDLING
    KOLVANE_SCHEMA_FILE="${KOLVANE_SCHEMA}"
    KOLVANE_EMPTY_DB_FILE="${KOLVANE_EMPTY_DB}"
    KOLVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FATAL_WARNINGS=0;LC_ALL=C.UTF-8"
    TIMEOUT 300)
  add_dependencies(${T_NAME} kolvane_empty_db)
endfunction()
