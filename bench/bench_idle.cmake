# The cost of an idle scene in a paced window, SDL's dummy video driver standing in for a display.
zeph_bench(bench_idle SOURCES ${CMAKE_CURRENT_LIST_DIR}/idle/IdleBench.cpp DEPS zeph)
target_include_directories(bench_idle PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(bench_idle PRIVATE ZEPH_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
