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

# corvan_plugin(NAME SOURCES ... [LIBS ...])
# A plug-in: a shared library exporting only `dll`, named NAME.so in the plug-in folder,
# as the data names it ("NAME.DLL" found case-insensitively).
function(corvan_plugin name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${P_SOURCES})
  target_link_libraries(${name} PRIVATE corvan_runtime ${P_LIBS})
  set_target_properties(${name} PROPERTIES
    PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${CORVAN_PLUGIN_DIR}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  set_property(GLOBAL APPEND PROPERTY CORVAN_PLUGINS ${name})
endfunction()
