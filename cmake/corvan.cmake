# Helpers shared by every folder.
include(GoogleTest)

# corvan_test(NAME SOURCES a_test.cpp ... LIBS lib ... [LABELS l ...])
# One GoogleTest executable; its cases are registered one by one with CTest.
function(corvan_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
endfunction()

# corvan_plugin(NAME SOURCES ... [LIBS ...] [ENTRIES sym ...])
# A plug-in: a shared library named NAME.so in the plug-in folder, as the data names it
# ("NAME.DLL" found case-insensitively). It exports its entries and nothing else (default:
# `dll`): hidden visibility for its own code, the symbols of the static libraries linked
# into it kept local, and a version script that leaves only the entries global.
function(corvan_plugin name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS;ENTRIES" ${ARGN})
  if(NOT P_ENTRIES)
    set(P_ENTRIES dll)
  endif()
  list(JOIN P_ENTRIES "; " globals)
  set(map ${CMAKE_BINARY_DIR}/plugin-exports/${name}.map)
  file(WRITE ${map} "{ global: ${globals}; local: *; };\n")
  add_library(${name} MODULE ${P_SOURCES})
  target_link_libraries(${name} PRIVATE corvan_runtime ${P_LIBS})
  target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL -Wl,--version-script=${map})
  set_target_properties(${name} PROPERTIES
    PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${CORVAN_PLUGIN_DIR}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${map})
  set_property(GLOBAL APPEND PROPERTY CORVAN_PLUGINS ${name})
  # Which symbols each plug-in of the installation exports, for the test that checks it.
  string(TOLOWER ${name} file)
  list(JOIN P_ENTRIES "," entries)
  set_property(GLOBAL APPEND PROPERTY CORVAN_PLUGIN_EXPORTS "${file}.so:${entries}")
endfunction()
