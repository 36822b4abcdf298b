#pragma once
// Time and random numbers. Every random number of the game comes from one seedable source; the
// tick count can be driven by the frame clock so that headless runs repeat exactly.

#include <cstdint>
#include <functional>

namespace vessot {

// Monotonic milliseconds; wraps at 2^32, so callers take unsigned differences.
uint32_t get_system_tick_count();
// Replaces the clock behind get_system_tick_count; an empty function restores the real clock.
void setTickSource(std::function<uint32_t()> source);

// The largest value rand() returns.
constexpr int RAND_MAXIMUM = 0x7FFFFFFF;
void srand(unsigned int seed);
// An integer in [0, RAND_MAXIMUM].
int rand();
// An integer in [a, b); a when b <= a.
int jrand(int a, int b);
// A float in [0, 1).
float frand();

} // namespace vessot
