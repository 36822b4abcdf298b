#include "reelix/YuvConvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using reelix::YuvPicture;

namespace {

struct Rgb {
    int r, g, b;
};

Rgb convertOne(uint8_t y, uint8_t cb, uint8_t cr) {
    uint8_t planeY[1] = {y}, planeCb[1] = {cb}, planeCr[1] = {cr};
    YuvPicture picture{{{planeY, 1, 1, 1}, {planeCb, 1, 1, 1}, {planeCr, 1, 1, 1}}, 0, 0};
    uint8_t out[4];
    reelix::convertPicture(picture, out, 1, 1, 1, -1);
    EXPECT_EQ(out[3], 255);
    return Rgb{out[0], out[1], out[2]};
}

} // namespace

TEST(YuvConvert, StudioRangeColoursMapToFullRange) {
    struct Case {
        const char* name;
        uint8_t y, cb, cr;
        Rgb expected;
    };
    const Case cases[] = {
        {"black", 16, 128, 128, {0, 0, 0}},
        {"white", 235, 128, 128, {255, 255, 255}},
        {"below black clamps", 0, 128, 128, {0, 0, 0}},
        {"above white clamps", 255, 128, 128, {255, 255, 255}},
        {"red", 81, 90, 240, {255, 0, 0}},
        {"green", 145, 54, 34, {0, 255, 0}},
        {"blue", 41, 240, 110, {0, 0, 255}},
        {"mid grey", 126, 128, 128, {128, 128, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rgb got = convertOne(c.y, c.cb, c.cr);
        EXPECT_NEAR(got.r, c.expected.r, 2);
        EXPECT_NEAR(got.g, c.expected.g, 2);
        EXPECT_NEAR(got.b, c.expected.b, 2);
    }
}

TEST(YuvConvert, ChromaIsSharedAccordingToTheSubsampling) {
    // A 4x4 picture whose chroma differs per chroma sample: each output pixel must take its own.
    struct Case {
        const char* name;
        int shiftX, shiftY;
    };
    for (const Case& c : {Case{"4:2:0", 1, 1}, Case{"4:2:2", 1, 0}, Case{"4:4:4", 0, 0}}) {
        SCOPED_TRACE(c.name);
        int cw = 4 >> c.shiftX, ch = 4 >> c.shiftY;
        std::vector<uint8_t> y(16, 126), cb((size_t)cw * ch), cr((size_t)cw * ch, 128);
        for (int i = 0; i < cw * ch; ++i) {
            cb[(size_t)i] = (uint8_t)(100 + 10 * i);
        }
        YuvPicture picture{{{y.data(), 4, 4, 4}, {cb.data(), cw, cw, ch}, {cr.data(), cw, cw, ch}}, c.shiftX, c.shiftY};
        std::vector<uint8_t> out(4 * 4 * 4);
        reelix::convertPicture(picture, out.data(), 4, 4, 4, -1);
        for (int py = 0; py < 4; ++py) {
            for (int px = 0; px < 4; ++px) {
                int u = cb[(size_t)((py >> c.shiftY) * cw + (px >> c.shiftX))] - 128;
                int blue = (int)(1.164383 * (126 - 16) + 2.017232 * u + 0.5);
                EXPECT_NEAR(out[(size_t)(py * 4 + px) * 4 + 2], std::clamp(blue, 0, 255), 1) << px << "," << py;
            }
        }
    }
}

TEST(YuvConvert, AlphaComesFromTheLumaBesideTheColour) {
    // 2 colour pixels, then 2 alpha pixels, per row; rows are 8 pixels apart in the output.
    std::vector<uint8_t> y = {16, 235, 200, 30, 16, 235, 10, 250};
    std::vector<uint8_t> chroma(8, 128);
    YuvPicture picture{{{y.data(), 4, 4, 2}, {chroma.data(), 4, 4, 2}, {chroma.data(), 4, 4, 2}}, 0, 0};
    std::vector<uint8_t> out(8 * 2 * 4, 7);
    reelix::convertPicture(picture, out.data(), 2, 2, 8, 2);
    EXPECT_EQ(out[3], 200);
    EXPECT_EQ(out[7], 30);
    EXPECT_EQ(out[8 * 4 + 3], 10);
    EXPECT_EQ(out[8 * 4 + 7], 250);
    EXPECT_EQ(out[8 * 4 + 4], 255);
    EXPECT_EQ(out[8], 7); // the stride's padding is left alone
}
