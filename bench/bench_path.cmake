zeph_bench(bench_path SOURCES ${CMAKE_CURRENT_LIST_DIR}/path/PathBench.cpp DEPS trailex)
