#include "runel/Layout.h"
#include "TestFont.h"
#include "vessot/Exception.h"

#include <gtest/gtest.h>

using namespace runel;

namespace {

class Layouts : public ::testing::Test {
protected:
    Layout lay(const vessot::String& text, Alignment a = LEFT, float width = 0, bool legacy = false) {
        FontResolver resolve = [this](const vessot::String& n) -> FontChoice {
            if (n == "big:2") {
                return {&big, 2};
            }
            if (n == "big") {
                return {&big, 1};
            }
            VESSOT_THROW("Font '" + n + "' is not registered");
        };
        return layoutText(text, {&font, 1}, resolve, a, width, legacy);
    }
    // The x of each placed glyph, and its line by y.
    static std::vector<int> xs(const Layout& l) {
        std::vector<int> v;
        for (const PlacedGlyph& g : l.glyphs) {
            v.push_back((int)(g.dest.x - 1)); // the picture starts one pixel in
        }
        return v;
    }
    static std::vector<int> lineOf(const Layout& l) {
        std::vector<int> v;
        for (const PlacedGlyph& g : l.glyphs) {
            v.push_back((int)(g.dest.y / 20));
        }
        return v;
    }
    TestFont font{"test"};
    TestFont big{"big", 1, 12};
};

} // namespace

TEST_F(Layouts, Wrapping) {
    struct Case {
        const char* text;
        float width;
        int lines;
        float widest;
    } cases[] = {
        {"aaa bbb ccc", 75, 2, 65},                             // "aaa bbb" / "ccc"
        {"aaa bbb ccc", 65, 2, 65},                             // exactly full
        {"aaa bbb ccc", 64, 3, 30},                             // "aaa" / "bbb" / "ccc"
        {"aaa bbb ccc", 1000, 1, 100}, {"aaaaaaaa", 35, 3, 30}, // a word wider than the line breaks by characters
        {"aa   bb", 25, 2, 20},                                 // blanks at the break go
        {"aaa\nbbb ccc", 70, 2, 65},                            // line breaks still count
        {"a\n\nb", 100, 3, 10},        {"", 100, 0, 0},         {"   ", 100, 1, 0},
    };
    for (const Case& c : cases) {
        Layout l = lay(c.text, LEFT_WRAPPED, c.width);
        EXPECT_EQ(l.lines, c.lines) << c.text << " at " << c.width;
        EXPECT_FLOAT_EQ(l.width, c.widest) << c.text << " at " << c.width;
        EXPECT_FLOAT_EQ(l.height, 20.0f * c.lines) << c.text << " at " << c.width;
    }
}

TEST_F(Layouts, UnwrappedAlignmentsKeepLines) {
    for (Alignment a : {LEFT, CENTER, RIGHT}) {
        Layout l = lay("aaa bbb ccc\nd", a, 30);
        EXPECT_EQ(l.lines, 2) << a;
        EXPECT_FLOAT_EQ(l.width, 100) << a;
    }
}

TEST_F(Layouts, AlignmentCodesPlaceLines) {
    struct Case {
        Alignment alignment;
        std::vector<int> xs;
    } cases[] = {
        {LEFT, {0, 10}},         {CENTER, {40, 50}},         {RIGHT, {80, 90}},
        {LEFT_WRAPPED, {0, 10}}, {CENTER_WRAPPED, {40, 50}}, {RIGHT_WRAPPED, {80, 90}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(xs(lay("ab  ", c.alignment, 100)), c.xs) << c.alignment; // trailing blanks take no room
    }
    Layout wrapped = lay("aaa bbbb", CENTER_WRAPPED, 45);
    EXPECT_EQ(xs(wrapped), (std::vector<int>{7, 17, 27, 2, 12, 22, 32}));
    EXPECT_EQ(lineOf(wrapped), (std::vector<int>{0, 0, 0, 1, 1, 1, 1}));
}

TEST_F(Layouts, ATextAtItsOwnMeasuredWidthStaysOnOneLine) {
    TestFont odd{"odd", 0.4166667f, 7.3f};
    for (const char* text : {"Hello there, traveller", "a b c d e f g", "x", "[b]Click to continue"}) {
        FontResolver none = [](const vessot::String&) -> FontChoice { return {}; };
        float width = layoutText(text, {&odd, 0.4166667f}, none, LEFT, 0, false).width;
        for (Alignment a : {LEFT_WRAPPED, CENTER_WRAPPED, RIGHT_WRAPPED}) {
            EXPECT_EQ(layoutText(text, {&odd, 0.4166667f}, none, a, width, false).lines, 1) << text;
        }
    }
}

TEST_F(Layouts, BoldChangesNeitherAdvancesNorBreaks) {
    Layout plain = lay("aaa bbb ccc", CENTER_WRAPPED, 70);
    Layout bold = lay("[b]aaa bbb ccc", CENTER_WRAPPED, 70);
    ASSERT_EQ(plain.glyphs.size(), bold.glyphs.size());
    for (size_t i = 0; i < plain.glyphs.size(); ++i) {
        EXPECT_EQ(plain.glyphs[i].dest, bold.glyphs[i].dest);
        EXPECT_FALSE(plain.glyphs[i].bold);
        EXPECT_TRUE(bold.glyphs[i].bold);
    }
    EXPECT_FLOAT_EQ(plain.width, bold.width);
}

TEST_F(Layouts, BothColourSpellingsSetRedGreenBlue) {
    for (const char* text : {"a[c:640000]bc[/c]d", "a[c=640000]bc[/c]d"}) {
        Layout l = lay(text);
        ASSERT_EQ(l.glyphs.size(), 4u) << text;
        EXPECT_FALSE(l.glyphs[0].colored);
        EXPECT_TRUE(l.glyphs[1].colored);
        EXPECT_EQ(l.glyphs[1].r, 0x64);
        EXPECT_EQ(l.glyphs[1].g, 0);
        EXPECT_TRUE(l.glyphs[2].colored);
        EXPECT_FALSE(l.glyphs[3].colored);
        EXPECT_TRUE(l.unknownTags.empty());
    }
}

TEST_F(Layouts, FontTagsSwitchFontAndScale) {
    Layout l = lay("a[f:big:2]bb[/f]a");
    EXPECT_EQ(xs(l), (std::vector<int>{0, 11, 35, 58})); // pictures start one font pixel in
    EXPECT_FLOAT_EQ(l.width, 68);
    EXPECT_FLOAT_EQ(l.height, 40); // the tallest font sets the line
    // Baselines line up: the big glyphs start higher by the difference in ascent.
    EXPECT_FLOAT_EQ(l.glyphs[0].dest.y, 16);
    EXPECT_FLOAT_EQ(l.glyphs[1].dest.y, 0);
    // Tags nest: closing a font keeps an outer colour.
    Layout nested = lay("[c:FF0000][f:big]a[/f]b[/c]c");
    EXPECT_TRUE(nested.glyphs[1].colored);
    EXPECT_FALSE(nested.glyphs[2].colored);
}

TEST_F(Layouts, AnUnknownFontInATagIsAnError) {
    try {
        lay("[f:nosuch:1.5]a");
        ADD_FAILURE();
    } catch (const vessot::exception& e) {
        EXPECT_NE(e.message().find("nosuch"), std::string::npos);
    }
}

TEST_F(Layouts, UnknownTagsAreDrawnAsText) {
    Layout l = lay("a[x]b[c:nothex]");
    EXPECT_EQ(l.glyphs.size(), 2u + 3u + 10u);
    EXPECT_EQ(l.unknownTags, (std::vector<vessot::String>{"[x]", "[c:nothex]"}));
    EXPECT_EQ(lay("a[b").glyphs.size(), 3u);
}

TEST_F(Layouts, LegacyLineBreaks) {
    EXPECT_EQ(lay("a\\nb", LEFT, 0, true).lines, 2);
    EXPECT_EQ(lay("a\\nb", LEFT, 0, false).lines, 1);
    EXPECT_EQ(lay("a\\nb", LEFT, 0, false).glyphs.size(), 4u);
    EXPECT_EQ(lay("a\\\\", LEFT, 0, true).glyphs.size(), 3u);
}

TEST_F(Layouts, MissingCharactersShowTheQuestionMark) {
    Layout l = lay("a~b");
    EXPECT_EQ(l.glyphs.size(), 3u);
    EXPECT_FLOAT_EQ(l.width, 30);
}

TEST_F(Layouts, Utf8AndTrailingLineBreaks) {
    EXPECT_EQ(lay("\xC3\xA9t\xC3\xA9").glyphs.size(), 3u);
    EXPECT_EQ(lay("a\n").lines, 2);
    EXPECT_FLOAT_EQ(lay("a\r\nb").width, 10);
}
