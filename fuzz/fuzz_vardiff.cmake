zeph_fuzz(fuzz_vardiff SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_vardiff.cpp DEPS zeph LABEL core)
