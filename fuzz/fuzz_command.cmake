zeph_fuzz(fuzz_command SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_command.cpp DEPS zeph LABEL core)
