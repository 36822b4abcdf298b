zeph_fuzz(fuzz_dialog SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_dialog.cpp DEPS zeph LABEL script)
