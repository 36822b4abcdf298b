#include "TempDir.h"
#include "nimbo/Color.h"
#include "nimbo/Image.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <gtest/gtest.h>

using nimbo::Color;
using nimbo::Image;

TEST(Color, ReadsSixAndEightDigits) {
    struct Case {
        const char* text;
        Color expected;
    } cases[] = {
        {"FF7F00", Color(255, 127, 0, 255)},   {"0xFF7F00", Color(255, 127, 0, 255)},
        {"80FF7F00", Color(255, 127, 0, 128)}, {"0x00000000", Color::Clear},
        {"640000", Color(100, 0, 0, 255)},     {"ffffff", Color::White},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Color(vessot::String(c.text)), c.expected) << c.text;
    }
}

TEST(Color, RejectsOtherForms) {
    for (const char* text : {"", "FFF", "0xFF", "FF7F0", "FF7F00F", "GG7F00", "0x0xFF7F00"}) {
        try {
            Color c{vessot::String(text)};
            ADD_FAILURE() << text << " was read";
        } catch (const vessot::exception& e) {
            EXPECT_EQ(e.message(), "Color format must be either 0xAARRGGBB or 0xRRGGBB") << text;
        }
    }
}

TEST(Color, PackedFormAndClamping) {
    EXPECT_EQ(Color(0x12, 0x34, 0x56, 0x78).packed(), 0x12345678u);
    EXPECT_EQ(Color(vessot::String("0000FF")).packed() >> 8, 0x0000FFu);
    EXPECT_EQ(Color(300, -5, 128, 999), Color(255, 0, 128, 255));
}

TEST(Image, PngRoundTrip) {
    TempDir dir;
    Image image(3, 2, Color(1, 2, 3, 4));
    image.setPixel(2, 1, Color(200, 100, 50, 255));
    image.savePng(dir / "a.png");
    Image back = Image::load(dir / "a.png");
    EXPECT_EQ(back.getWidth(), 3);
    EXPECT_EQ(back.getHeight(), 2);
    EXPECT_EQ(back.getPixel(0, 0), Color(1, 2, 3, 4));
    EXPECT_EQ(back.getPixel(2, 1), Color(200, 100, 50, 255));
    EXPECT_EQ(back.getPixel(3, 0), Color::Clear); // outside
    int w = 0, h = 0;
    EXPECT_TRUE(Image::readSize(dir / "a.png", w, h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
}

TEST(Image, BadFilesNameThemselves) {
    TempDir dir;
    vessot::writeFileAtomically(dir / "broken.png", "\x89PNG not really");
    for (const std::string& path : {dir / "broken.png", dir / "missing.png"}) {
        try {
            Image::load(path);
            ADD_FAILURE() << path;
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find(path), std::string::npos) << e.message();
        }
        int w = 0, h = 0;
        EXPECT_FALSE(Image::readSize(path, w, h));
    }
    EXPECT_THROW(Image().savePng(dir / "empty.png"), vessot::exception);
    EXPECT_THROW(Image(1, 1).savePng(dir / "no/such/folder/x.png"), vessot::exception);
}
