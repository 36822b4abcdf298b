#include "vessot/Format.h"

#include <gtest/gtest.h>

using vessot::jsprintf;
using vessot::String;

TEST(Format, Conversions) {
    EXPECT_EQ(jsprintf("%s and %s", "a", String("b")), "a and b");
    EXPECT_EQ(jsprintf("%d items", 3), "3 items");
    EXPECT_EQ(jsprintf("%02d:%02d", 5, 7), "05:07");
    EXPECT_EQ(jsprintf("%5d|%-5d|", 42, 42), "   42|42   |");
    EXPECT_EQ(jsprintf("%.2f", 3.14159), "3.14");
    EXPECT_EQ(jsprintf("%f", 1.5f), "1.500000");
    EXPECT_EQ(jsprintf("%06.1f", -2.25), "-002.2");
    EXPECT_EQ(jsprintf("100%%"), "100%");
    EXPECT_EQ(jsprintf("%-4s|%4s", "ab", "cd"), "ab  |  cd");
    EXPECT_EQ(jsprintf("%d", "12abc"), "12");
    EXPECT_EQ(jsprintf("%s", 7), "7");
}

TEST(Format, MissingArgumentsGiveNothing) {
    EXPECT_EQ(jsprintf("Use %s with %s", "key"), "Use key with ");
    EXPECT_EQ(jsprintf("%d%%"), "%");
}

TEST(Format, DataTextsAreNeverFormats) {
    // A player's name holding conversions is only ever an argument.
    EXPECT_EQ(jsprintf("Hello %s!", "%s%n%d"), "Hello %s%n%d!");
    EXPECT_EQ(jsprintf("odd %q %", 1), "odd %q %");
}
