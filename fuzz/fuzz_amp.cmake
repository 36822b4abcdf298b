zeph_fuzz(fuzz_amp SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_amp.cpp DEPS zeph LABEL core)
