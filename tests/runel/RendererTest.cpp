#include "runel/Renderer.h"
#include "TempDir.h"
#include "TestFont.h"
#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <gtest/gtest.h>

using runel::renderer;

namespace {

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        runel::init();
        renderer->registerFont(new TestFont("radodid"));
        renderer->setDefaultFont("radodid");
    }
    void TearDown() override { runel::destroy(); }
};

} // namespace

TEST_F(Renderer, NamesCarryAScale) {
    EXPECT_FLOAT_EQ(renderer->getTextWidth("radodid", "abc"), 30);
    EXPECT_FLOAT_EQ(renderer->getTextWidth("radodid:1.3", "abc"), 39);
    EXPECT_FLOAT_EQ(renderer->getTextWidth("", "abc"), 30);
    renderer->registerFont(new TestFont("half", 0.5f));
    EXPECT_FLOAT_EQ(renderer->getTextWidth("half:2", "abc"), 30);
    EXPECT_FLOAT_EQ(renderer->getTextHeight("half", "abc", 100), 10);
}

TEST_F(Renderer, MeasuresAsItLaysOut) {
    EXPECT_FLOAT_EQ(renderer->getTextWidth("radodid", "aaa\nbbbbb"), 50);
    EXPECT_FLOAT_EQ(renderer->getTextHeight("radodid", "aaa bbb ccc", 64), 60);
    EXPECT_FLOAT_EQ(renderer->getTextWidth("radodid", ""), 0);
    EXPECT_FLOAT_EQ(renderer->getTextHeight("radodid", "", 100), 0);
    const runel::Layout& l = renderer->getLayout("radodid", "aaa bbb", runel::CENTER_WRAPPED, 100);
    EXPECT_FLOAT_EQ(l.glyphs.front().dest.x, 17.5f + 1);
}

TEST_F(Renderer, AnUnregisteredFontIsAnErrorNamingIt) {
    try {
        renderer->getTextWidth("hheaven:0.7", "abc");
        ADD_FAILURE();
    } catch (const vessot::exception& e) {
        EXPECT_EQ(e.message(), "Font 'hheaven' is not registered");
    }
    EXPECT_FALSE(renderer->hasFont("hheaven"));
}

TEST_F(Renderer, ReplacingAndUnregisteringDeleteOwnedFonts) {
    int deleted = 0;
    renderer->registerFont(new TestFont("f", 1, 10, &deleted));
    renderer->registerFont(new TestFont("f", 1, 20, &deleted));
    EXPECT_EQ(deleted, 1);
    EXPECT_FLOAT_EQ(renderer->getTextWidth("f", "a"), 20); // the new one, not a cached layout
    TestFont kept("g", 1, 10, &deleted);
    renderer->registerFont(&kept, false);
    renderer->unregisterFont("g");
    renderer->unregisterFont("f");
    renderer->unregisterFont("nothing");
    EXPECT_EQ(deleted, 2);
    EXPECT_FALSE(renderer->hasFont("f"));
}

TEST_F(Renderer, DestroyDeletesOwnedFontsAndLaterCallsDoNothing) {
    int deleted = 0;
    renderer->registerFont(new TestFont("f", 1, 10, &deleted));
    runel::destroy();
    EXPECT_EQ(deleted, 1);
    EXPECT_FALSE(renderer->isActive());
    // What datasets destroyed after the text library may still call.
    renderer->unregisterFont("f");
    renderer->registerFont(new TestFont("late", 1, 10, &deleted));
    EXPECT_EQ(deleted, 2);
    EXPECT_FLOAT_EQ(renderer->getTextWidth("nosuch", "abc"), 0);
    renderer->drawText({0, 0, 10, 10}, "nosuch", "abc");
}

TEST_F(Renderer, LegacyLineBreakParsingIsASetting) {
    EXPECT_FLOAT_EQ(renderer->getTextHeight("radodid", "a\\nb", 100), 20);
    renderer->setUseLegacyLineBreakParsing(true);
    EXPECT_TRUE(renderer->getUseLegacyLineBreakParsing());
    EXPECT_FLOAT_EQ(renderer->getTextHeight("radodid", "a\\nb", 100), 40);
}

TEST_F(Renderer, OffsetsAreKept) {
    renderer->setShadowOffset({2.4f, 2.4f});
    renderer->setBorderOffset(2.4f);
    EXPECT_EQ(renderer->getShadowOffset(), morvec::Vector2(2.4f, 2.4f));
    EXPECT_FLOAT_EQ(renderer->getBorderOffset(), 2.4f);
}

TEST_F(Renderer, AnUnknownTagIsLoggedOnce) {
    TempDir dir;
    vessot::Log::setEcho(false);
    vessot::Log::setFilename(dir / "game.log", true);
    renderer->getTextWidth("radodid", "[wave]hi");
    renderer->getTextWidth("radodid", "[wave]ho");
    renderer->clearCache();
    renderer->getTextWidth("radodid", "[wave]hi");
    vessot::String log = vessot::File::hread(dir / "game.log");
    vessot::Log::reset();
    vessot::Log::setEcho(true);
    EXPECT_EQ(log, "[runel] Unknown text tag '[wave]' is drawn as text\n");
}

TEST_F(Renderer, TextWithoutMarkupReadsNoTag) {
    // What a player may type: a font tag naming no font, and the two characters of a legacy break.
    const vessot::String typed = "[f:nosuch]a\\nb[/f]";
    renderer->setUseLegacyLineBreakParsing(true);
    EXPECT_THROW(renderer->getLayout("radodid", typed, runel::LEFT, 0), vessot::exception);
    const runel::Layout& plain = renderer->getLayout("radodid", typed, runel::LEFT, 0, false);
    EXPECT_EQ(plain.lines, 1);
    EXPECT_FLOAT_EQ(plain.width, 10.0f * (float)typed.size());
    EXPECT_TRUE(plain.unknownTags.empty());
    // The cache keeps the two readings apart.
    EXPECT_FLOAT_EQ(renderer->getLayout("radodid", "[c:FF0000]x[/c]", runel::LEFT, 0).width, 10);
    EXPECT_FLOAT_EQ(renderer->getLayout("radodid", "[c:FF0000]x[/c]", runel::LEFT, 0, false).width, 150);
}
