# Benchmarks of the platform layer; included by bench/CMakeLists.txt.
add_executable(platform_bench ${CMAKE_CURRENT_LIST_DIR}/platform_bench.cpp)
target_link_libraries(platform_bench PRIVATE corvan_platform benchmark::benchmark)
