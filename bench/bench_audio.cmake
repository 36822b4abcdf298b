pkg_check_modules(BENCH_AUDIO_VORBIS REQUIRED IMPORTED_TARGET vorbisfile)
zeph_bench(bench_audio SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/AudioBench.cpp
    DEPS echon mediagen PkgConfig::BENCH_AUDIO_VORBIS)
