zeph_fuzz(fuzz_config SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_config.cpp DEPS zeph LABEL core)
