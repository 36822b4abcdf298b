zeph_fuzz(fuzz_cdialog SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_cdialog.cpp DEPS zeph LABEL ui)
