#include "vessot/String.h"
#include "vessot/Array.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using vessot::Array;
using vessot::String;

namespace {

Array<String> list(std::initializer_list<const char*> items) {
    Array<String> out;
    for (const char* s : items) {
        out.add(s);
    }
    return out;
}

// Runs the conversions under a locale whose decimal separator is a comma.
class GermanNumericLocale : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
            << "the de_DE.UTF-8 locale is missing (scripts/install-deps generates it)";
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }
};

} // namespace

TEST(StringSplit, Table) {
    struct Case {
        const char* text;
        const char* delimiter;
        int max;
        bool removeEmpty;
        Array<String> expected;
    } cases[] = {
        {"a/b/c/d", "/", -1, false, list({"a", "b", "c", "d"})},
        {"a/b/c/d", "/", 1, false, list({"a", "b/c/d"})},
        {"a//b", "/", -1, false, list({"a", "", "b"})},
        {"a//b", "/", -1, true, list({"a", "b"})},
        {"/a/", "/", -1, false, list({"", "a", ""})},
        {"key: value: more", ": ", 1, false, list({"key", "value: more"})},
        {"", ",", -1, false, list({""})},
        {"", ",", -1, true, list({})},
        {"abc", ",", -1, false, list({"abc"})},
        {"a;;b", ";;", -1, false, list({"a", "b"})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(String(c.text).split(c.delimiter, c.max, c.removeEmpty), c.expected) << c.text;
    }
}

TEST(StringSplit, RsplitTable) {
    struct Case {
        const char* text;
        const char* delimiter;
        int max;
        Array<String> expected;
    } cases[] = {
        {"a/b/c/d", "/", 2, list({"a/b", "c", "d"})},
        {"a/b/c/d", "/", -1, list({"a", "b", "c", "d"})},
        {"data/chapters/ship/ship_hd.datadef", "/", 2, list({"data/chapters", "ship", "ship_hd.datadef"})},
        {"ship/ship_hd.datadef", "/", 2, list({"ship", "ship_hd.datadef"})},
        {"file.name.png", ".", 1, list({"file.name", "png"})},
        {"nodot", ".", 1, list({"nodot"})},
        {"/x", "/", 1, list({"", "x"})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(String(c.text).rsplit(c.delimiter, c.max), c.expected) << c.text;
    }
}

TEST(StringConvert, NumbersLikeAtoiAndAtof) {
    struct Case {
        const char* text;
        int asInt;
        float asFloat;
    } cases[] = {
        {"42", 42, 42.0f}, {"-7", -7, -7.0f},   {"  12abc", 12, 12.0f}, {"abc", 0, 0.0f},
        {"", 0, 0.0f},     {"3.75", 3, 3.75f},  {"+5", 5, 5.0f},        {"-0.5", 0, -0.5f},
        {".5", 0, 0.5f},   {"1e3", 1, 1000.0f}, {"--1", 0, 0.0f},       {"99999999999", 0, 99999999999.0f},
        {"0x10", 0, 0.0f}, {"1,5", 1, 1.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(String(c.text).toInt(), c.asInt) << c.text;
        EXPECT_FLOAT_EQ(String(c.text).toFloat(), c.asFloat) << c.text;
    }
    // The edges of int's range read as themselves; one past either reads 0.
    const std::pair<const char*, int> edges[] = {
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", 0}, {"-2147483649", 0}};
    for (auto [text, asInt] : edges) {
        EXPECT_EQ(String(text).toInt(), asInt) << text;
    }
}

// The number rule every layer relies on: text that is not a finite number, or not one a float holds,
// is not a number and reads 0, and no conversion gives a non-finite value.
TEST(StringConvert, OnlyFiniteTextIsANumber) {
    const float huge = std::numeric_limits<float>::max();
    const std::string forty(40, '0');
    struct Case {
        std::string text;
        bool number;
        float asFloat;
    } cases[] = {
        {"12", true, 12.0f},
        {"-1.5", true, -1.5f},
        {"+0.25", true, 0.25f},
        {"nan", false, 0.0f},
        {"-nan", false, 0.0f},
        {"NaN", false, 0.0f},
        {"inf", false, 0.0f},
        {"-inf", false, 0.0f},
        {"infinity", false, 0.0f},
        {"nan(1)", false, 0.0f},
        {"1e3", false, 1000.0f},
        {"", false, 0.0f},
        {"1" + forty, false, 0.0f},
        {"-1" + forty, false, 0.0f},
        {"1e40", false, 0.0f},
        {"1e-50", false, 0.0f},
        {"0." + forty + forty + "1", true, 0.0f},
        {"0.0001e45", false, 0.0f},
        {"340282346638528859811704183484516925440", true, huge},
        {"12abc", false, 12.0f},
        {"1.5.", false, 1.5f},
    };
    for (const Case& c : cases) {
        String text(c.text);
        EXPECT_EQ(text.isNumber(), c.number) << c.text;
        EXPECT_EQ(text.toFloat(), c.asFloat) << c.text;
        EXPECT_TRUE(std::isfinite(text.toDouble())) << c.text;
    }
}

TEST(StringConvert, BoolRule) {
    for (const char* falseText : {"", "0", "false", "FALSE", "False"}) {
        EXPECT_FALSE(String(falseText).toBool()) << falseText;
        EXPECT_FALSE(static_cast<bool>(String(falseText))) << falseText;
    }
    for (const char* trueText : {"1", "true", "yes", "00", " 0", "no", "-1"}) {
        EXPECT_TRUE(String(trueText).toBool()) << trueText;
    }
}

TEST(StringConvert, FloatTextIsShortestPlainDecimal) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {
        {0.5f, "0.5"}, {1.0f, "1"},      {1e-5f, "0.00001"}, {100000.0f, "100000"}, {-2.25f, "-2.25"},
        {0.0f, "0"},   {-0.0f, "0"},     {0.1f, "0.1"},      {123.456f, "123.456"}, {1e10f, "10000000000"},
        {NAN, "0"},    {-INFINITY, "0"},
    };
    for (const Case& c : cases) {
        String text(c.value);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(text.find('e'), String::npos);
        EXPECT_EQ(text.toFloat(), c.value == 0 || !std::isfinite(c.value) ? 0.0f : c.value);
    }
}

TEST_F(GermanNumericLocale, ConversionsIgnoreTheLocale) {
    EXPECT_FLOAT_EQ(String("1.5").toFloat(), 1.5f);
    EXPECT_FLOAT_EQ(String("1,5").toFloat(), 1.0f);
    EXPECT_EQ(String(2.5f), "2.5");
    EXPECT_EQ(String(0.25), "0.25");
}

TEST(StringText, Helpers) {
    EXPECT_EQ(String("a-b-a").replaced("a", "xy"), "xy-b-xy");
    EXPECT_EQ(String("MiXeD").lowered(), "mixed");
    EXPECT_EQ(String("MiXeD").uppered(), "MIXED");
    EXPECT_EQ(String("  pad \r\n").trimmed(), "pad");
    EXPECT_TRUE(String("ship.Bridge").startsWith("ship."));
    EXPECT_TRUE(String("Room.pc.scene").endsWith(".scene"));
    EXPECT_TRUE(String("abc").contains("bc"));
    EXPECT_EQ(String("abc").substr(5), "");
    EXPECT_EQ(String("h\xC3\xA4llo \xE2\x82\xAC").utf8_size(), 7);
    EXPECT_EQ(String::hex(0xFF7F00, 6), "FF7F00");
    EXPECT_EQ(String("00FF00").hexToUInt(), 0x00FF00u);
}

TEST(StringText, ConcatenationWithNumbers) {
    String s = String("loaded ") + 12 + " variables";
    EXPECT_EQ(s, "loaded 12 variables");
    EXPECT_EQ(String("x=") + 0.5f, "x=0.5");
    EXPECT_EQ("pre" + String("fix"), "prefix");
}

TEST(StringText, ByteWiseOrdering) {
    EXPECT_LT(String("B"), String("a"));
    EXPECT_LT(String("a"), String("\xC3\xA4"));
}
