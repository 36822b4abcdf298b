zeph_fuzz(fuzz_theora SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_theora.cpp DEPS reelix LABEL reelix)
if(ZEPH_LIBFUZZER AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(reelix PRIVATE -fsanitize=fuzzer-no-link)
endif()
