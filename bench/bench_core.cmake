zeph_bench(bench_core SOURCES ${CMAKE_CURRENT_LIST_DIR}/core/CoreBench.cpp DEPS zeph)
