zeph_fuzz(fuzz_hint SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_hint.cpp DEPS zeph LABEL ui)
