# Start-up of the game on the bundled data to its first drawn frame, the logo's.
zeph_bench(bench_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup/StartupBench.cpp DEPS zeph)
target_include_directories(bench_startup PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(bench_startup PRIVATE ZEPH_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
