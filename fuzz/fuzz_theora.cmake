zeph_fuzz(fuzz_theora SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_theora.cpp DEPS reelix LABEL reelix)
