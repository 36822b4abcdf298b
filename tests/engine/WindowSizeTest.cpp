// The window's size from the display and the parameters "width", "height" and "fullscreen".
#include "engine/app/Engine.h"

#include <gtest/gtest.h>

TEST(WindowSizeTest, Table) {
    struct Case {
        float displayWidth, displayHeight;
        const char* width;
        const char* height;
        const char* fullscreen;
        int expectedWidth, expectedHeight;
    } cases[] = {
        // "0": two thirds of the display in a window, the whole display in full screen.
        {1920, 1080, "0", "0", "0", 1280, 720},
        {1920, 1080, "0", "0", "1", 1920, 1080},
        {2560, 1440, "0", "0", "0", 1706, 960},
        // Any other size is used as given.
        {1920, 1080, "800", "600", "0", 800, 600},
        {1920, 1080, "800", "600", "1", 800, 600},
        {1920, 1080, "1024.9", "768", "0", 1024, 768},
        // A size that is not a positive number counts as "0".
        {1920, 1080, "abc", "600", "0", 1280, 720},
        {1920, 1080, "-800", "600", "1", 1920, 1080},
        {1920, 1080, "800", "", "0", 1280, 720},
        {1920, 1080, "800", "0", "1", 1920, 1080},
        // Only "0" asks for a window; other fullscreen texts keep the whole display.
        {1920, 1080, "0", "0", "", 1920, 1080},
        // An unknown display counts as 1920 x 1080.
        {0, 0, "0", "0", "0", 1280, 720},
        {0, 0, "0", "0", "1", 1920, 1080},
        {0, 0, "640", "480", "0", 640, 480},
    };
    for (const Case& c : cases) {
        morvec::Vector2 size =
            Session::getWindowSize(morvec::Vector2(c.displayWidth, c.displayHeight), c.width, c.height, c.fullscreen);
        EXPECT_EQ((int)size.x, c.expectedWidth) << c.width << " x " << c.height << " fullscreen " << c.fullscreen;
        EXPECT_EQ((int)size.y, c.expectedHeight) << c.width << " x " << c.height << " fullscreen " << c.fullscreen;
    }
}
