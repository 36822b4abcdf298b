zeph_fuzz(fuzz_saveinfo SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_saveinfo.cpp DEPS zeph LABEL ui)
