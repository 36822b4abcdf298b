zeph_fuzz(fuzz_wav SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_wav.cpp DEPS echon LABEL echon)
if(ZEPH_LIBFUZZER AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(echon PRIVATE -fsanitize=fuzzer-no-link)
endif()
