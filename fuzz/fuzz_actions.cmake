zeph_fuzz(fuzz_actions SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_actions.cpp DEPS zeph LABEL script)
