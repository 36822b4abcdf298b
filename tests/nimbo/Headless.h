#pragma once
// A headless window and render system for one test, and helpers to read drawn pixels.

#include "nimbo/Nimbo.h"
#include "vessot/Log.h"

#include <cstdlib>
#include <gtest/gtest.h>

class Headless : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZEPH_HEADLESS", "1", 1);
        vessot::Log::setEcho(false);
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(width, height, false, "test");
        nimbo::rendersys->setOrthoProjection(morvec::Vector2((float)width, (float)height));
        nimbo::rendersys->clear();
    }
    void TearDown() override {
        nimbo::destroy();
        vessot::Log::setEcho(true);
    }
    // What the window shows at a pixel.
    nimbo::Color pixel(int x, int y) { return nimbo::rendersys->captureScreen().getPixel(x, y); }

    int width = 64;
    int height = 64;
};

// Colours compared with a small tolerance per channel (software blending rounds).
inline ::testing::AssertionResult near(const nimbo::Color& actual, const nimbo::Color& expected, int tolerance = 3) {
    auto close = [&](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (close(actual.r, expected.r) && close(actual.g, expected.g) && close(actual.b, expected.b) &&
        close(actual.a, expected.a)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "colour (" << (int)actual.r << ", " << (int)actual.g << ", "
                                         << (int)actual.b << ", " << (int)actual.a << ") is not (" << (int)expected.r
                                         << ", " << (int)expected.g << ", " << (int)expected.b << ", "
                                         << (int)expected.a << ")";
}
