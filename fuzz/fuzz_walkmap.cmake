zeph_fuzz(fuzz_walkmap SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_walkmap.cpp DEPS trailex LABEL trailex)
