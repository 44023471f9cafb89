# A diagnosis session's start-up and identification on the paced simulated box, through the
# plug-ins of the sample installation; included by bench/CMakeLists.txt.
corvan_bench(diag_session SOURCES ${CMAKE_CURRENT_LIST_DIR}/diag_session_bench.cpp
  LIBS corvan_engine_host)
add_dependencies(bench_diag_session sample_install)
target_compile_definitions(bench_diag_session PRIVATE
  CORVAN_SAMPLE_ROOT="${CMAKE_BINARY_DIR}/sample-root")
