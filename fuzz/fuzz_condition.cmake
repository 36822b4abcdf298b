zeph_fuzz(fuzz_condition SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_condition.cpp DEPS zeph LABEL core)
