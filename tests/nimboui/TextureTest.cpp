#include "GuiTest.h"
#include "nimbo/Image.h"
#include "nimbo/Nimbo.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "vessot/Log.h"

#include <cmath>
#include <cstdlib>

using namespace nimboui;
using morvec::Rectangle;
using morvec::Vector2;

namespace {

// A headless window of 64 x 64 units; pictures are written as PNG files into the test's folder.
class RenderTest : public GuiTest {
protected:
    void SetUp() override {
        setenv("ZEPH_HEADLESS", "1", 1);
        vessot::Log::setEcho(false);
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(64, 64, false, "nimboui test");
        nimbo::rendersys->setOrthoProjection(Vector2(64, 64));
        nimbo::rendersys->clear();
    }
    void TearDown() override {
        GuiTest::TearDown();
        nimbo::destroy();
        vessot::Log::setEcho(true);
    }

    // Left half red, right half green.
    void picture(const std::string& name, int w, int h) {
        nimbo::Image image(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                image.setPixel(x, y, x < w / 2 ? nimbo::Color(255, 0, 0) : nimbo::Color(0, 255, 0));
            }
        }
        std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
        image.savePng(dir / name);
    }

    nimbo::Color pixel(int x, int y) { return nimbo::rendersys->captureScreen().getPixel(x, y); }
};

const nimbo::Color RED(255, 0, 0);
const nimbo::Color GREEN(0, 255, 0);
const nimbo::Color BLACK(0, 0, 0);

} // namespace

TEST_F(RenderTest, OnDemandTexturesLoadOnFirstDrawAndUnloadWhenIdle) {
    picture("d/rg.png", 4, 2);
    setTextureIdleUnloadTime(10.0f);
    Dataset* ds = dataset("d", R"(<Dataset>
        <Texture name="lazy" file="rg.png" on_demand="1"/>
        <Texture name="eager" file="rg.png"/>
        <Texture name="gone" file="missing.png" on_demand="1"/>
        <Image name="lazy" texture="lazy"/>
        <Image name="gone" texture="gone" w="4" h="4"/>
        <Object type="ImageBox" name="box" image="lazy"/>
        <Object type="ImageBox" name="broken" image="gone"/>
    </Dataset>)");
    ds->load();
    Texture* lazy = ds->getTexture("lazy");
    Texture* eager = ds->getTexture("eager");
    EXPECT_FALSE(lazy->isLoaded());
    EXPECT_TRUE(eager->isLoaded());
    ds->getObject("box")->draw(Vector2(0, 0));
    EXPECT_TRUE(lazy->isLoaded());
    ds->updateTextures(9.0f);
    ds->getObject("box")->draw(Vector2(0, 0));
    ds->updateTextures(9.9f);
    EXPECT_TRUE(lazy->isLoaded());
    ds->updateTextures(0.2f);
    EXPECT_FALSE(lazy->isLoaded());
    EXPECT_TRUE(eager->isLoaded());
    EXPECT_GT(eager->getIdleTime(), 10.0f);
    // A missing file of an on-demand texture draws nothing and ends nothing.
    ds->getObject("broken")->draw(Vector2(0, 0));
    EXPECT_TRUE(ds->getTexture("gone")->isLoaded());
}

TEST_F(RenderTest, ForcedDynamicLoadingDecodesNothingAtLoad) {
    picture("d/rg.png", 4, 2);
    setForcedDynamicLoading(true);
    Dataset* ds = dataset("d", "<Dataset><Texture name='eager' file='rg.png'/></Dataset>");
    ds->load();
    EXPECT_FALSE(ds->getTexture("eager")->isLoaded());
    EXPECT_TRUE(ds->getTexture("eager")->isOnDemand());
}

TEST_F(RenderTest, ATextureMadeByCodeComesBackBlank) {
    Texture texture("video", nimbo::rendersys->createTexture(4, 4, nimbo::Color::Clear, nimbo::FORMAT_RGBA,
                                                             nimbo::Texture::TYPE_DYNAMIC));
    std::vector<unsigned char> red(4 * 4 * 4, 0);
    for (size_t i = 0; i < red.size(); i += 4) {
        red[i] = 255;
        red[i + 3] = 255;
    }
    texture.getRenderTexture()->write(0, 0, 4, 4, 0, 0, red.data(), 4, 4, nimbo::FORMAT_RGBA);
    Image image(&texture, "video_img", Rectangle(0, 0, 4, 4));
    image.draw(Rectangle(0, 0, 8, 8), nimbo::Color::White);
    EXPECT_EQ(pixel(4, 4), RED);
    texture.unload();
    EXPECT_FALSE(texture.isLoaded());
    texture.load();
    EXPECT_TRUE(texture.isLoaded());
    nimbo::rendersys->clear();
    image.draw(Rectangle(0, 0, 8, 8), nimbo::Color::White);
    EXPECT_EQ(pixel(4, 4), BLACK);
    EXPECT_EQ(texture.getDataset(), nullptr);
}

TEST_F(RenderTest, ImagesDrawMirroredRotatedAndComposed) {
    picture("d/rg.png", 4, 2);
    Dataset* ds = dataset("d", R"(<Dataset>
        <Texture name="t" file="rg.png"/>
        <Image name="plain" texture="t"/>
        <Image name="mirrored" texture="t" invert_x="1"/>
        <Image name="lying" texture="t" rotated="1"/>
        <CompositeImage name="frame" w="8" h="2">
            <Part image="plain" x="4"/>
        </CompositeImage>
        <CompositeImage name="frame_W" w="8" h="2">
            <Part image="plain" x="0" mirror_x="1"/>
        </CompositeImage>
    </Dataset>)");
    ds->load();
    struct Case {
        const char* image;
        Rectangle dest;
        std::vector<std::pair<Vector2, nimbo::Color>> expected;
    };
    const Case cases[] = {
        {"plain", Rectangle(0, 0, 40, 20), {{{5, 10}, RED}, {{35, 10}, GREEN}}},
        {"mirrored", Rectangle(0, 0, 40, 20), {{{5, 10}, GREEN}, {{35, 10}, RED}}},
        // Stored a quarter turn counter-clockwise: the texture's left half shows at the top.
        {"lying", Rectangle(0, 0, 20, 40), {{{10, 5}, RED}, {{10, 35}, GREEN}}},
        {"frame", Rectangle(0, 0, 40, 10), {{{5, 5}, BLACK}, {{25, 5}, RED}, {{35, 5}, GREEN}}},
        {"frame_W", Rectangle(0, 0, 40, 10), {{{5, 5}, GREEN}, {{15, 5}, RED}, {{35, 5}, BLACK}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        nimbo::rendersys->clear();
        ds->getImage(c.image)->draw(c.dest, nimbo::Color::White);
        for (const auto& [point, colour] : c.expected) {
            EXPECT_EQ(pixel((int)point.x, (int)point.y), colour) << point.x << "," << point.y;
        }
    }
}

TEST_F(RenderTest, ImageBoxesDrawWithTheirAlphaAndChildrenOffsetByTheirParent) {
    picture("d/rg.png", 4, 2);
    Dataset* ds = dataset("d", R"(<Dataset>
        <Texture name="t" file="rg.png"/>
        <Image name="red" texture="t" w="2" h="2"/>
        <Object type="Object" name="panel" x="20" y="20">
            <Object type="ImageBox" name="box" x="10" y="10" w="10" h="10" image="red"/>
        </Object>
    </Dataset>)");
    ds->load();
    ds->getObject("panel")->draw(Vector2(0, 0));
    EXPECT_EQ(pixel(35, 35), RED);
    EXPECT_EQ(pixel(25, 25), BLACK);
    nimbo::rendersys->clear();
    ds->getObject("panel")->setAlpha(0.0f);
    ds->getObject("panel")->draw(Vector2(0, 0));
    EXPECT_EQ(pixel(35, 35), BLACK);
}

TEST(RamTexture, SamplesBilinearlyAndClampsAtTheEdges) {
    TempDir dir;
    nimbo::Image image(2, 2);
    image.setPixel(0, 0, nimbo::Color(0, 0, 0));
    image.setPixel(1, 0, nimbo::Color(200, 0, 0));
    image.setPixel(0, 1, nimbo::Color(0, 100, 0));
    image.setPixel(1, 1, nimbo::Color(200, 100, 0, 0));
    image.savePng(dir / "lm.png");
    RamTexture lightMap("Hall_LM", dir / "lm.png");
    EXPECT_FALSE(lightMap.isLoaded());
    EXPECT_EQ(lightMap.getWidth(), 2);
    EXPECT_TRUE(lightMap.isLoaded());
    struct Case {
        float x;
        float y;
        nimbo::Color expected;
    };
    const Case cases[] = {
        {0, 0, nimbo::Color(0, 0, 0)},
        {1, 1, nimbo::Color(200, 100, 0, 0)},
        {0.5f, 0, nimbo::Color(100, 0, 0)},
        {0.25f, 0, nimbo::Color(50, 0, 0)},
        {0.5f, 0.5f, nimbo::Color(100, 50, 0, 191)},
        {-5, -5, nimbo::Color(0, 0, 0)},
        {2.0f, 0, nimbo::Color(200, 0, 0)},
        {400, 0.5f, nimbo::Color(200, 50, 0, 128)},
        {0, 1e9f, nimbo::Color(0, 100, 0)},
        {NAN, NAN, nimbo::Color(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(lightMap.getInterpolatedPixel(c.x, c.y), c.expected);
    }
    lightMap.unload();
    EXPECT_FALSE(lightMap.isLoaded());
    RamTexture missing("x", dir / "missing.png");
    EXPECT_THROW(missing.load(), vessot::exception);
}

TEST_F(RenderTest, LabelsAndTextButtonsDrawTheirTextInTheirColours) {
    runel::init();
    runelttf::init();
    Dataset* ds = dataset("d", R"(<Dataset>
        <Font name="sans" file="DejaVuSans.ttf" size="40"/>
        <Object type="Label" name="label" w="64" h="32" font="sans" text="##" color="FF0000"/>
        <Object type="TextButton" name="button" y="32" w="64" h="32" font="sans" text="##" color="0000FF"
                hover_color="00FF00"/>
    </Dataset>)");
    std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", dir / "d/DejaVuSans.ttf");
    ds->load();
    auto countColour = [&](int top, const nimbo::Color& colour) {
        nimbo::Image screen = nimbo::rendersys->captureScreen();
        int found = 0;
        for (int y = top; y < top + 32; ++y) {
            for (int x = 0; x < 64; ++x) {
                found += screen.getPixel(x, y) == colour;
            }
        }
        return found;
    };
    Object root("Object", "ui", Rectangle(0, 0, 64, 64));
    root.addChild(ds->getObject("label"));
    root.addChild(ds->getObject("button"));
    root.draw(Vector2(0, 0));
    EXPECT_GT(countColour(0, RED), 20);
    EXPECT_GT(countColour(32, nimbo::Color(0, 0, 255)), 20);
    root.OnMouseMove(10, 40);
    nimbo::rendersys->clear();
    root.draw(Vector2(0, 0));
    EXPECT_GT(countColour(32, GREEN), 20);
    ds->getObject("label")->setAlpha(0.0f);
    nimbo::rendersys->clear();
    root.draw(Vector2(0, 0));
    EXPECT_EQ(countColour(0, RED), 0);
    root.removeAllChildren();
    runelttf::destroy();
    runel::destroy();
}
