zeph_bench(bench_gui SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui/GuiBench.cpp DEPS nimboui nimbo)
