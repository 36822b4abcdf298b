#pragma once
// What the engine's fuzz targets share: a quiet log and the input size they take.

#include "vessot/Log.h"

#include <cstddef>

// Inputs longer than this are skipped: the formats are small text files.
constexpr size_t FUZZ_MAX_INPUT = 4096;

// Silences the log once (every input would otherwise write many lines) and answers whether the
// input is small enough to try.
inline bool acceptFuzzInput(size_t size) {
    static bool quiet = (vessot::Log::setEcho(false), vessot::Log::discard(), true);
    (void)quiet;
    return size <= FUZZ_MAX_INPUT;
}
