# The hint route search between every pair of scenes of each chapter's route graph.
zeph_bench(bench_hints SOURCES ${CMAKE_CURRENT_LIST_DIR}/hints/HintsBench.cpp DEPS zeph)
