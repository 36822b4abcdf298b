zeph_fuzz(fuzz_tutorial_arrow SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_tutorial_arrow.cpp DEPS zeph LABEL ui)
