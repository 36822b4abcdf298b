# One autosave of the bundled game with six autosave slots present, on the real game through the
# whole-game harness of tests/play.
zeph_bench(bench_save
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/save/SaveBench.cpp ${CMAKE_SOURCE_DIR}/tests/play/GameHarness.cpp
    DEPS zeph)
target_include_directories(bench_save PRIVATE ${CMAKE_SOURCE_DIR}/tests/play ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(bench_save PRIVATE ZEPH_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
