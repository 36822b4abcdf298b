# Shared build settings and helpers for every target of the project.

set(ZEPH_WARNINGS -Wall -Wextra)
if(ZEPH_WERROR)
    list(APPEND ZEPH_WARNINGS -Werror)
    if(ZEPH_SANITIZE)
        # GCC's flow analysis misfires under the sanitizers' instrumentation.
        list(APPEND ZEPH_WARNINGS -Wno-error=maybe-uninitialized)
    endif()
endif()

if(ZEPH_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(ZEPH_LIBFUZZER)
    # Coverage for the fuzzer in every library, not only in the fuzz entry points.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Applies the project's warnings to one of our own targets.
function(zeph_warnings target)
    target_compile_options(${target} PRIVATE ${ZEPH_WARNINGS})
endfunction()

# zeph_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# A static library of ours whose public headers are found as <folder>/<header>.
function(zeph_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    zeph_warnings(${name})
endfunction()

# Tests that start the real game play many frames under the sanitizers and take several times as
# long on a busy machine as on an idle one: they carry this timeout of their own, above the one
# ./test gives ctest.
set(ZEPH_GAME_TEST_TIMEOUT 900)

# zeph_test(NAME LABEL label [STARTS_GAME] SOURCES ... [DEPS ...])
# A GoogleTest executable; every case becomes its own ctest entry carrying the label. STARTS_GAME
# marks tests that run the game as processes of its own.
function(zeph_test name)
    cmake_parse_arguments(ARG "STARTS_GAME" "LABEL" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main Threads::Threads)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(${name} PRIVATE -include ${CMAKE_SOURCE_DIR}/tests/Printers.h)
    # The engine under test keeps its optimisation; the test bodies themselves compile fastest
    # unoptimised, and GoogleTest's header is compiled once per target.
    if(ZEPH_SANITIZE)
        target_compile_options(${name} PRIVATE -O0)
    endif()
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h>)
    zeph_warnings(${name})
    set(properties LABELS ${ARG_LABEL})
    if(ARG_STARTS_GAME OR "game_harness" IN_LIST ARG_DEPS)
        list(APPEND properties TIMEOUT ${ZEPH_GAME_TEST_TIMEOUT})
    endif()
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        PROPERTIES ${properties}
        DISCOVERY_TIMEOUT 60)
endfunction()

# zeph_bench(NAME SOURCES ... [DEPS ...])
# A Google Benchmark executable bench_<area>; results end with the shared ratio/figure lines.
function(zeph_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} zeph_bench_report benchmark::benchmark Threads::Threads)
    zeph_warnings(${name})
endfunction()

# zeph_fuzz(NAME SOURCES ... [DEPS ...])
# A fuzz target fuzz_<format> whose source defines LLVMFuzzerTestOneInput. The committed corpus in
# fuzz/corpus/<format> is replayed by a normal executable registered in ctest; when clang is the
# compiler (scripts/fuzz builds that way) a libFuzzer binary is built as well.
function(zeph_fuzz name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
    string(REPLACE "fuzz_" "" format ${name})
    set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${format})
    add_executable(${name}_replay ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${ARG_DEPS})
    zeph_warnings(${name}_replay)
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${corpus} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    set(label fuzz)
    if(ARG_LABEL)
        set(label ${ARG_LABEL})
    endif()
    # A replay that prints an error fails, even when every input went through.
    set_tests_properties(${name}_corpus PROPERTIES LABELS "${label}" FAIL_REGULAR_EXPRESSION "ERROR")
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND ZEPH_LIBFUZZER)
        add_executable(${name} ${ARG_SOURCES})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    endif()
endfunction()
