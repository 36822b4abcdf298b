zeph_bench(bench_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/text/TextBench.cpp DEPS runel runelttf nimbo)
