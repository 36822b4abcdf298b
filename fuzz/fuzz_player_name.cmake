zeph_fuzz(fuzz_player_name SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_player_name.cpp DEPS zeph LABEL ui)
