#include "vessot/Array.h"

#include <gtest/gtest.h>

using vessot::Array;

TEST(Array, NegativeIndicesCountFromTheEnd) {
    Array<int> a = {10, 20, 30};
    EXPECT_EQ(a[0], 10);
    EXPECT_EQ(a[-1], 30);
    EXPECT_EQ(a[-3], 10);
    a[-2] = 25;
    EXPECT_EQ(a[1], 25);
}

TEST(Array, OutOfRangeThrowsTheIndexError) {
    Array<int> a = {1, 2};
    EXPECT_THROW(a[2], vessot::_IndexError);
    EXPECT_THROW(a[-3], vessot::_IndexError);
    Array<int> empty;
    EXPECT_THROW(empty.removeFirst(), vessot::_IndexError);
    EXPECT_THROW(empty.removeLast(), vessot::_IndexError);
    EXPECT_THROW(a.insertAt(4, 0), vessot::_IndexError);
    try {
        a[5];
        FAIL();
    } catch (const vessot::exception& e) {
        EXPECT_NE(e.message().find("5"), std::string::npos);
    }
}

TEST(Array, InsertAndRemove) {
    Array<int> a = {1, 2, 3};
    a.insertAt(1, 9);
    EXPECT_EQ(a, (Array<int>{1, 9, 2, 3}));
    a.insertAt(4, 7);
    EXPECT_EQ(a.last(), 7);
    EXPECT_EQ(a.removeFirst(), 1);
    EXPECT_EQ(a.removeLast(), 7);
    EXPECT_EQ(a.removeAt(-2), 2);
    EXPECT_EQ(a, (Array<int>{9, 3}));
    EXPECT_TRUE(a.contains(3));
    EXPECT_FALSE(a.contains(1));
    EXPECT_EQ(a.indexOf(3), 1);
    EXPECT_EQ(a.size(), 2);
}
