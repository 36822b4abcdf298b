zeph_fuzz(fuzz_saytext SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_saytext.cpp DEPS zeph LABEL script)
