pkg_check_modules(BENCH_VIDEO_THEORA REQUIRED IMPORTED_TARGET ogg theoradec)
zeph_bench(bench_video SOURCES ${CMAKE_CURRENT_LIST_DIR}/video/VideoBench.cpp
    DEPS reelix mediagen PkgConfig::BENCH_VIDEO_THEORA)
