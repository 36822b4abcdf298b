# The baseline issues the same draws straight to SDL, so this benchmark links SDL itself.
pkg_check_modules(BENCH_RENDER_SDL2 REQUIRED IMPORTED_TARGET sdl2)
zeph_bench(bench_render SOURCES ${CMAKE_CURRENT_LIST_DIR}/render/RenderBench.cpp DEPS nimbo PkgConfig::BENCH_RENDER_SDL2)
