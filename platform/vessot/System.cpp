#include "vessot/System.h"

#include <chrono>
#include <random>

namespace vessot {

namespace {

std::function<uint32_t()>& tickSource() {
    static std::function<uint32_t()> source;
    return source;
}

std::mt19937& generator() {
    static std::mt19937 engine(5489u);
    return engine;
}

} // namespace

uint32_t get_system_tick_count() {
    if (tickSource()) {
        return tickSource()();
    }
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return (uint32_t)std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void setTickSource(std::function<uint32_t()> source) {
    tickSource() = std::move(source);
}

void srand(unsigned int seed) {
    generator().seed(seed);
}

int rand() {
    return (int)(generator()() & (uint32_t)RAND_MAXIMUM);
}

int jrand(int a, int b) {
    if (b <= a) {
        return a;
    }
    std::uniform_int_distribution<long long> dist(a, (long long)b - 1);
    return (int)dist(generator());
}

float frand() {
    return (float)(generator()() >> 8) / 16777216.0f;
}

} // namespace vessot
