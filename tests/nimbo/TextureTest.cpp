#include "Headless.h"
#include "TempDir.h"
#include "vessot/File.h"

using morvec::Rectangle;
using nimbo::Color;
using nimbo::Texture;

namespace {

class Textures : public Headless {
protected:
    void SetUp() override {
        Headless::SetUp();
        vessot::Log::setFilename(dir / "game.log", true);
    }
    void TearDown() override {
        vessot::Log::reset();
        Headless::TearDown();
    }
    vessot::String log() { return vessot::File::hread(dir / "game.log"); }
    void draw(Texture* t) {
        nimbo::rendersys->drawTexture(t, Rectangle(0, 0, (float)t->getWidth(), (float)t->getHeight()),
                                      Rectangle(0, 0, 64, 64));
    }
    TempDir dir;
};

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace

TEST_F(Textures, FromFileLoadsUnloadsAndReloadsOnDraw) {
    nimbo::Image(8, 4, Color(0, 0, 255)).savePng(dir / "blue.png");
    Texture* t = nimbo::rendersys->createTextureFromResource(dir / "blue.png", Texture::TYPE_MANAGED, false);
    EXPECT_FALSE(t->isLoaded());
    EXPECT_EQ(t->getWidth(), 8); // from the header, without loading
    EXPECT_EQ(t->getHeight(), 4);
    EXPECT_EQ(t->getFilename(), dir / "blue.png");
    EXPECT_TRUE(t->load());
    nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 8, 4), Rectangle(0, 0, 32, 64)); // drawn before the unload
    t->unload();
    EXPECT_FALSE(t->isLoaded());
    nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 8, 4), Rectangle(32, 0, 32, 64));
    EXPECT_TRUE(t->isLoaded());
    EXPECT_TRUE(near(pixel(16, 32), Color(0, 0, 255)));
    EXPECT_TRUE(near(pixel(48, 32), Color(0, 0, 255)));
    delete t;
}

TEST_F(Textures, MissingAndDamagedFilesGiveAnEmptyPictureAndOneLogLine) {
    vessot::writeFileAtomically(dir / "damaged.png", "not a picture");
    for (std::string name : {"missing.png", "damaged.png"}) {
        Texture* t = nimbo::rendersys->createTextureFromResource(dir / name);
        EXPECT_TRUE(t->isLoaded());
        EXPECT_EQ(t->getWidth(), 1);
        nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), Color(0, 255, 0));
        draw(t);
        draw(t);
        EXPECT_TRUE(near(pixel(32, 32), Color(0, 255, 0))) << "the empty picture is transparent";
        EXPECT_EQ(count(log(), name), 1) << log();
        delete t;
    }
}

TEST_F(Textures, MadeUpNamesAreUnique) {
    Texture* a = nimbo::rendersys->createTexture(4, 4);
    Texture* b = nimbo::rendersys->createTexture(4, 4);
    EXPECT_NE(a->getFilename(), b->getFilename());
    EXPECT_FALSE(a->getFilename().empty());
    EXPECT_THROW(nimbo::rendersys->createTexture(0, 4), vessot::exception);
    delete a;
    delete b;
}

TEST_F(Textures, NativeFormatAnswersRgbaAndRgbxAsGiven) {
    EXPECT_EQ(nimbo::rendersys->getNativeTextureFormat(nimbo::FORMAT_RGBA), nimbo::FORMAT_RGBA);
    EXPECT_EQ(nimbo::rendersys->getNativeTextureFormat(nimbo::FORMAT_RGBX), nimbo::FORMAT_RGBX);
}

TEST_F(Textures, WriteCopiesABlockAndCutsItToBothPictures) {
    // A 4 x 4 red source block written at (2, 2) of an 4 x 4 clear texture: only 2 x 2 lands.
    Texture* t = nimbo::rendersys->createTexture(4, 4, Color::Clear, nimbo::FORMAT_RGBA, Texture::TYPE_DYNAMIC);
    nimbo::Image red(4, 4, Color(255, 0, 0));
    t->write(2, 2, 4, 4, 0, 0, red.data(), 4, 4, nimbo::FORMAT_RGBA);
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), Color(0, 0, 255));
    draw(t);
    EXPECT_TRUE(near(pixel(56, 56), Color(255, 0, 0), 40));
    EXPECT_TRUE(near(pixel(8, 8), Color(0, 0, 255), 40));
    EXPECT_TRUE(near(pixel(56, 8), Color(0, 0, 255), 40));
    delete t;
}

TEST_F(Textures, AWriteShowsInQuadsDrawnAfterItOnly) {
    Texture* t = nimbo::rendersys->createTexture(1, 1, Color::Clear, nimbo::FORMAT_RGBA, Texture::TYPE_DYNAMIC);
    const Color colors[] = {Color(255, 0, 0), Color(0, 255, 0)};
    for (int i : {0, 1}) {
        t->write(0, 0, 1, 1, 0, 0, nimbo::Image(1, 1, colors[i]).data(), 1, 1, nimbo::FORMAT_RGBA);
        nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 1, 1), Rectangle(32.0f * i, 0, 32, 64));
    }
    EXPECT_TRUE(near(pixel(16, 32), colors[0]));
    EXPECT_TRUE(near(pixel(48, 32), colors[1]));
    delete t;
}

TEST_F(Textures, RgbxDataIsOpaque) {
    // Video frames come as RGB with an unused fourth byte.
    for (nimbo::ImageFormat format : {nimbo::FORMAT_RGBA, nimbo::FORMAT_RGBX}) {
        Texture* t = nimbo::rendersys->createTexture(2, 2, Color::Clear, format, Texture::TYPE_DYNAMIC);
        const unsigned char rgbx[] = {0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0};
        t->write(0, 0, 2, 2, 0, 0, rgbx, 2, 2, nimbo::FORMAT_RGBX);
        nimbo::rendersys->clear();
        draw(t);
        EXPECT_TRUE(near(pixel(32, 32), Color(0, 255, 0))) << "format " << format;
        delete t;
    }
}

TEST_F(Textures, WritesToManagedTexturesAreRefused) {
    Texture* t = nimbo::rendersys->createTexture(2, 2, Color(0, 0, 255));
    nimbo::Image red(2, 2, Color(255, 0, 0));
    t->write(0, 0, 2, 2, 0, 0, red.data(), 2, 2, nimbo::FORMAT_RGBA);
    draw(t);
    EXPECT_TRUE(near(pixel(32, 32), Color(0, 0, 255)));
    EXPECT_NE(log().find("is not dynamic"), std::string::npos);
    delete t;
}

TEST_F(Textures, SurviveTheRenderSystem) {
    Texture* t = nimbo::rendersys->createTexture(2, 2);
    nimbo::rendersys->setTexture(t);
    nimbo::destroy();
    EXPECT_FALSE(t->isLoaded());
    EXPECT_FALSE(t->load());
    EXPECT_EQ(t->getWidth(), 2);
    delete t;
}
