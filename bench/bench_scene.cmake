zeph_bench(bench_scene SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene/SceneBench.cpp DEPS zeph ampbuilder)
