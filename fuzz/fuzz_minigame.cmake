zeph_fuzz(fuzz_minigame SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_minigame.cpp DEPS zeph LABEL minigames)
