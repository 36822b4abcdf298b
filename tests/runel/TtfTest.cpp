#include "TempDir.h"
#include "nimbo/Headless.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

using morvec::Rectangle;
using nimbo::Color;
using runel::renderer;

namespace {

const char* const dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The box around the pixels with more red than a threshold (x0, y0, x1, y1), or all -1.
std::array<int, 4> inkBox(const nimbo::Image& image, int threshold = 128) {
    std::array<int, 4> box = {-1, -1, -1, -1};
    for (int y = 0; y < image.getHeight(); ++y) {
        for (int x = 0; x < image.getWidth(); ++x) {
            Color c = image.getPixel(x, y);
            if (c.r > threshold) {
                box = box[0] < 0 ? std::array<int, 4>{x, y, x, y}
                                 : std::array<int, 4>{std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                                                      std::max(box[3], y)};
            }
        }
    }
    return box;
}

class Ttf : public Headless {
protected:
    void SetUp() override {
        width = 240;
        height = 120;
        Headless::SetUp();
        runel::init();
        runelttf::init();
        renderer->registerFont(new runelttf::FontTtf(dejavu, "dejavu", 32, 1));
    }
    void TearDown() override {
        runelttf::destroy();
        runel::destroy();
        Headless::TearDown();
    }
};

} // namespace

TEST_F(Ttf, MeasuresAndDrawsWhereItMeasured) {
    float w = renderer->getTextWidth("dejavu", "Hello");
    float h = renderer->getTextHeight("dejavu", "Hello", w);
    EXPECT_GT(w, 60);
    EXPECT_LT(w, 120);
    EXPECT_GT(h, 30);
    EXPECT_LT(h, 45);
    renderer->drawText(Rectangle(20, 30, w, h), "dejavu", "Hello", runel::CENTER_WRAPPED);
    std::array<int, 4> box = inkBox(nimbo::rendersys->captureScreen());
    EXPECT_GE(box[0], 20);
    EXPECT_LE(box[2], 20 + w);
    EXPECT_GE(box[1], 30);
    EXPECT_LE(box[3], 30 + h);
    EXPECT_GT(box[2] - box[0], w * 0.8f); // the ink fills the measured width
}

TEST_F(Ttf, VerticalAlignmentMovesTheLines) {
    float h = renderer->getTextHeight("dejavu", "X", 200);
    renderer->drawText(Rectangle(0, 0, 240, 120), "dejavu", "X", runel::LEFT, runel::TOP);
    int top = inkBox(nimbo::rendersys->captureScreen())[1];
    for (auto [vertical, shift] : {std::pair{runel::MIDDLE, (120 - h) / 2}, std::pair{runel::BOTTOM, 120 - h}}) {
        nimbo::rendersys->clear();
        renderer->drawText(Rectangle(0, 0, 240, 120), "dejavu", "X", runel::LEFT, vertical);
        EXPECT_NEAR(inkBox(nimbo::rendersys->captureScreen())[1], top + shift, 1.0) << vertical;
    }
}

TEST_F(Ttf, ColourTagsKeepTheCallersAlpha) {
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 240, 120), Color(0, 0, 255));
    renderer->drawText(Rectangle(10, 10, 200, 100), "dejavu", "[c:FF0000]\xE2\x96\x88", runel::LEFT, runel::TOP,
                       Color(255, 255, 255, 128)); // a full block
    nimbo::Image shot = nimbo::rendersys->captureScreen();
    std::array<int, 4> box = inkBox(shot, 100);
    Color middle = shot.getPixel((box[0] + box[2]) / 2, (box[1] + box[3]) / 2);
    EXPECT_TRUE(near(middle, Color(128, 0, 127), 4));
}

TEST_F(Ttf, BoldDrawsABorderAroundTheSameGlyphsInTheFontsPixels) {
    renderer->setBorderOffset(6);
    // The border reaches 6 font pixels: 6 units at the font's own scale, 3 at half of it.
    for (auto [font, reach] : {std::pair{"dejavu", 6}, std::pair{"dejavu:0.5", 3}}) {
        SCOPED_TRACE(font);
        nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 240, 120), Color(128, 128, 128));
        renderer->drawText(Rectangle(10, 10, 200, 100), font, "[b]I");
        nimbo::Image shot = nimbo::rendersys->captureScreen();
        std::array<int, 4> box = inkBox(shot, 200);
        int y = (box[1] + box[3]) / 2;
        EXPECT_TRUE(near(shot.getPixel(box[0] - (reach - 1), y), Color(0, 0, 0), 30));
        EXPECT_TRUE(near(shot.getPixel(box[0] - (reach + 2), y), Color(128, 128, 128), 4));
        EXPECT_TRUE(near(shot.getPixel((box[0] + box[2]) / 2, y), Color::White, 60));
    }
}

TEST_F(Ttf, PagesComeBackAfterTheirTextureWasUnloaded) {
    auto* font = new runelttf::FontTtf(dejavu, "again", 32, 1);
    renderer->registerFont(font);
    renderer->drawText(Rectangle(0, 0, 240, 120), "again", "W");
    font->getPageTexture(0)->unload();
    nimbo::rendersys->clear();
    renderer->drawText(Rectangle(0, 0, 240, 120), "again", "W");
    EXPECT_GE(inkBox(nimbo::rendersys->captureScreen())[0], 0);
}

TEST_F(Ttf, TheLibraryMayGoBeforeItsFonts) {
    runelttf::destroy();
    // New glyphs still come, and the fonts are deleted safely later.
    EXPECT_GT(renderer->getTextWidth("dejavu", "\xC3\x84rger"), 0);
    renderer->drawText(Rectangle(0, 0, 240, 120), "dejavu", "Qu\xC3\xA4l");
    runel::destroy();
}

TEST_F(Ttf, BadFilesAreErrorsNamingThem) {
    TempDir dir;
    vessot::writeFileAtomically(dir / "broken.ttf", "no font here");
    for (const std::string& path : {dir / "missing.ttf", dir / "broken.ttf"}) {
        try {
            runelttf::FontTtf font(path, "x", 20);
            ADD_FAILURE() << path;
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find(path), std::string::npos) << e.message();
        }
    }
    runelttf::destroy();
    EXPECT_THROW(runelttf::FontTtf(dejavu, "x", 20), vessot::exception);
}
