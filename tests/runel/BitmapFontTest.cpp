#include "TempDir.h"
#include "nimbo/Headless.h"
#include "runel/FontBitmap.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

using morvec::Rectangle;
using runel::renderer;

namespace {

const char* const dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::vector<uint32_t> ascii() {
    std::vector<uint32_t> codes;
    for (uint32_t c = 32; c < 127; ++c) {
        codes.push_back(c);
    }
    codes.push_back(0xE4);   // a with diaeresis
    codes.push_back(0x4E2D); // not in the font
    return codes;
}

class BitmapFont : public Headless {
protected:
    void SetUp() override {
        width = 200;
        height = 60;
        Headless::SetUp();
        runel::init();
        runelttf::init();
    }
    void TearDown() override {
        runel::destroy();
        runelttf::destroy();
        Headless::TearDown();
    }
    // A font file with the given body after the first line, and a page beside it.
    vessot::String fontFile(const vessot::String& body, const vessot::String& first = "zephfont 1") {
        nimbo::Image(4, 4).savePng(dir / "page.png");
        vessot::writeFileAtomically(dir / "f.font", first + "\n" + body);
        return dir / "f.font";
    }
    TempDir dir;
};

} // namespace

TEST_F(BitmapFont, TheMakersFontReadsBackAsTheTrueTypeFont) {
    runelttf::FontTtf ttf(dejavu, "radodid", 24, 0.5f);
    runelttf::writeBitmapFont(ttf, ascii(), dir / "radodid.font");
    EXPECT_TRUE(vessot::File::exists(dir / "radodid_0.png"));
    auto* bitmap = new runel::FontBitmap(dir / "radodid.font");
    EXPECT_EQ(bitmap->getName(), "radodid");
    EXPECT_FLOAT_EQ(bitmap->getScale(), 0.5f);
    EXPECT_FLOAT_EQ(bitmap->getLineHeight(), ttf.getLineHeight());
    EXPECT_FLOAT_EQ(bitmap->getAscent(), ttf.getAscent());
    EXPECT_EQ(bitmap->getPageSize(0).y, (float)ttf.getPageUsedHeight(0));
    // The same text lays out the same with either font, and draws the same pixels.
    const vessot::String text = "Sphinx of black quartz, judge my vow! \xC3\xA4";
    runel::FontResolver none = [](const vessot::String&) -> runel::FontChoice { return {}; };
    runel::Layout a = runel::layoutText(text, {&ttf, 0.5f}, none, runel::LEFT_WRAPPED, 150, false);
    runel::Layout b = runel::layoutText(text, {bitmap, 0.5f}, none, runel::LEFT_WRAPPED, 150, false);
    ASSERT_EQ(a.glyphs.size(), b.glyphs.size());
    for (size_t i = 0; i < a.glyphs.size(); ++i) {
        EXPECT_EQ(a.glyphs[i].dest, b.glyphs[i].dest) << i;
    }
    renderer->registerFont(bitmap);
    nimbo::rendersys->setOrthoProjection(morvec::Vector2(100, 30));
    renderer->drawText(Rectangle(0, 0, 100, 30), "radodid", "Quartz");
    nimbo::Image drawn = nimbo::rendersys->captureScreen();
    nimbo::rendersys->clear();
    renderer->registerFont(new runelttf::FontTtf(dejavu, "radodid", 24, 0.5f));
    renderer->drawText(Rectangle(0, 0, 100, 30), "radodid", "Quartz");
    nimbo::Image direct = nimbo::rendersys->captureScreen();
    int differing = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            differing += !near(drawn.getPixel(x, y), direct.getPixel(x, y), 2);
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(BitmapFont, MissingCharactersShowTheQuestionMark) {
    runelttf::FontTtf ttf(dejavu, "small", 12);
    runelttf::writeBitmapFont(ttf, ascii(), dir / "small.font");
    runel::FontBitmap bitmap(dir / "small.font");
    EXPECT_EQ(bitmap.getGlyph(0x4E2D), bitmap.getGlyph('?'));
    EXPECT_NE(bitmap.getGlyph('A'), bitmap.getGlyph('?'));
}

TEST_F(BitmapFont, DamagedFilesAreErrorsNamingFileAndLine) {
    const std::string ok = "name f\nline_height 10\nascent 8\npage page.png\n";
    struct Case {
        std::string first;
        std::string body;
        std::string says;
    } cases[] = {
        {"zephfont 2", ok, "does not start with"},
        {"zephfont 1", ok + "scale big\n", "line 6: 'big' is not a number"},
        {"zephfont 1", ok + "glyph 65 0 1 2 3\n", "line 6: a glyph has 9 numbers"},
        {"zephfont 1", ok + "glyph 65 1 0 0 1 1 0 0 1\n", "line 6: glyph page 1 is not declared"},
        {"zephfont 1", ok + "colour red\n", "line 6: unknown line"},
        {"zephfont 1", "line_height 10\nascent 8\n", "name, line_height and ascent are required"},
        {"zephfont 1", ok + "page nothing.png\n", "nothing.png' is missing or not an image"},
        {"zephfont 1", ok + "glyph 65 0 0 0 nan 4 0 0 5\n", "line 6: 'nan' is not a number"},
        {"zephfont 1", ok + "glyph 65 0 0 0 4 4 0 0 -inf\n", "line 6: '-inf' is not a number"},
        {"zephfont 1", ok + "line_height inf\n", "line 6: 'inf' is not a number"},
        {"zephfont 1", ok + "glyph 99999999999 0 0 0 4 4 0 0 5\n", "'99999999999' is not a whole number from 0"},
        {"zephfont 1", ok + "glyph 65 -1 0 0 4 4 0 0 5\n", "line 6: '-1' is not a whole number from 0"},
        {"zephfont 1", ok + "page ../page.png\n", "line 6: the page '../page.png' must lie in the font's folder"},
        {"zephfont 1", ok + "page /tmp/page.png\n", "line 6: the page '/tmp/page.png' must lie in the font's"},
    };
    for (const Case& c : cases) {
        try {
            runel::FontBitmap font(fontFile(c.body, c.first));
            ADD_FAILURE() << c.says;
        } catch (const vessot::exception& e) {
            EXPECT_EQ(e.message().find("Bitmap font '" + dir / "f.font" + "'"), 0u) << e.message();
            EXPECT_NE(e.message().find(c.says), std::string::npos) << e.message();
        }
    }
    EXPECT_THROW(runel::FontBitmap(dir / "nothing.font"), vessot::exception);
    EXPECT_NO_THROW(runel::FontBitmap(fontFile(ok + "# a comment\n\nglyph 65 0 0 0 4 4 0 0 5\n")));
}
