zeph_fuzz(fuzz_walkmap SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_walkmap.cpp DEPS trailex LABEL trailex)
if(ZEPH_LIBFUZZER AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # Coverage feedback from the walk-map code itself, not only from the fuzz entry point.
    target_compile_options(trailex PRIVATE -fsanitize=fuzzer-no-link)
endif()
