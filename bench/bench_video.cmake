pkg_check_modules(BENCH_VIDEO_THEORA REQUIRED IMPORTED_TARGET ogg theoradec)
# Decoding through a clip against libtheora alone, and two video objects of a scene against the same
# clips driven directly.
zeph_bench(bench_video
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/video/VideoBench.cpp ${CMAKE_CURRENT_LIST_DIR}/video/SceneVideoBench.cpp
    DEPS zeph reelix mediagen ampbuilder PkgConfig::BENCH_VIDEO_THEORA)
