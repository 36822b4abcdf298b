# A frame of the bundled cockpit with twelve walking characters, on the real game through the
# whole-game harness of tests/play.
zeph_bench(bench_characters
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/characters/CharactersBench.cpp ${CMAKE_SOURCE_DIR}/tests/play/GameHarness.cpp
    DEPS zeph)
target_include_directories(bench_characters PRIVATE ${CMAKE_SOURCE_DIR}/tests/play ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(bench_characters PRIVATE ZEPH_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
