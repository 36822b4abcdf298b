zeph_fuzz(fuzz_wav SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_wav.cpp DEPS echon LABEL echon)
