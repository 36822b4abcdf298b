# The frame of a story scene with the whole HUD on show, and scene switches, on the real game through
# the whole-game harness of tests/play.
zeph_bench(bench_frame
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame/FrameBench.cpp ${CMAKE_SOURCE_DIR}/tests/play/GameHarness.cpp
    DEPS zeph)
target_include_directories(bench_frame PRIVATE ${CMAKE_SOURCE_DIR}/tests/play ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(bench_frame PRIVATE ZEPH_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
