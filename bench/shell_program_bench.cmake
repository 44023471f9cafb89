# The shell program's start to its root page on the sample installation, and its pages on the
# Qt screen: needs the Qt front end. Included by bench/CMakeLists.txt.
if(TARGET corvan_shell AND TARGET corvan_ui_qt AND TARGET eCorvanData)
  corvan_bench(shell_program SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_program_bench.cpp
    LIBS corvan_shell corvan_ui_qt)
  add_dependencies(bench_shell_program eCorvanData sample_install sample_shell_data)
  target_compile_definitions(bench_shell_program PRIVATE
    SHELL_PATH="$<TARGET_FILE:eCorvanData>"
    CORVAN_SAMPLE_ROOT="${CMAKE_BINARY_DIR}/sample-root")
endif()
