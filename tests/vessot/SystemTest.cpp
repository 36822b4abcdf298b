#include "vessot/System.h"

#include <gtest/gtest.h>

using vessot::get_system_tick_count;
using vessot::jrand;
using vessot::setTickSource;

TEST(Random, SeedRepeatsAndRangesHold) {
    vessot::srand(1234);
    int a[5];
    for (int& v : a) {
        v = jrand(0, 100);
    }
    vessot::srand(1234);
    for (int v : a) {
        EXPECT_EQ(jrand(0, 100), v);
    }
    for (int i = 0; i < 1000; ++i) {
        int v = jrand(-3, 4);
        EXPECT_GE(v, -3);
        EXPECT_LT(v, 4);
        EXPECT_GE(vessot::rand(), 0);
    }
    EXPECT_EQ(jrand(5, 5), 5);
    EXPECT_EQ(jrand(9, 2), 9);
}

TEST(Ticks, TheHookDrivesTheClockAndWrapsUnsigned) {
    uint32_t fake = 0xFFFFFFF0u;
    setTickSource([&] { return fake; });
    uint32_t before = get_system_tick_count();
    fake += 0x20;
    EXPECT_EQ(get_system_tick_count() - before, 0x20u);
    setTickSource(nullptr);
    fake = 12345;
    EXPECT_NE(get_system_tick_count(), fake) << "the system's clock answers again";
}
