// The whole framework run headless through nimbo_main, as the game runs it: an init of its own
// that makes the window and fonts, scripted clicks and keys, and the PNG the run leaves behind.
#include "Headless.h"
#include "TempDir.h"
#include "nimbo/Keys.h"
#include "nimbo/Main.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "vessot/File.h"

#include <fstream>

using morvec::Rectangle;
using nimbo::Color;

namespace {

class Game : public nimbo::MouseDelegate,
             public nimbo::KeyboardDelegate,
             public nimbo::UpdateDelegate,
             public nimbo::SystemDelegate {
public:
    explicit Game(const std::string& picture) : picture(picture) {}

    void init() {
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(800, 600, false, "Headless run");
        runel::init();
        runelttf::init();
        runel::renderer->registerFont(
            new runelttf::FontTtf("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "radodid", 24, 1));
        runel::renderer->setDefaultFont("radodid");
        texture = nimbo::rendersys->createTextureFromResource(picture);
        nimbo::window->setMouseDelegate(this);
        nimbo::window->setKeyboardDelegate(this);
        nimbo::window->setUpdateDelegate(this);
        nimbo::window->setSystemDelegate(this);
    }
    void destroy() {
        delete texture;
        runelttf::destroy();
        runel::destroy();
        nimbo::destroy();
    }

    void onMouseUp(int key) override {
        if (key == nimbo::BUTTON_PRIMARY) {
            clicks.push_back(nimbo::window->getCursorPosition());
        }
    }
    void onKeyUp(int key) override { keys.push_back(key); }
    bool onQuit(bool canCancel) override {
        quitRequests += canCancel;
        return false;
    }
    bool onUpdate(float) override {
        ++frames;
        nimbo::rendersys->clear();
        nimbo::rendersys->setOrthoProjection(Rectangle(0, 0, 320, 240));
        // Left half red, right half green, turned a quarter to the left: green on top.
        nimbo::rendersys->drawTexture(texture, Rectangle(0, 0, 32, 16), Rectangle(20, 60, 80, 40), Color::White, 90);
        vessot::String text = "Clicks " + vessot::String((int)clicks.size()) + (keys.empty() ? "" : " [c:FFFF00]key");
        runel::renderer->drawText(Rectangle(120, 20, 200, 200), "", text, runel::LEFT_WRAPPED);
        return true;
    }

    std::string picture;
    nimbo::Texture* texture = nullptr;
    std::vector<morvec::Vector2> clicks;
    std::vector<int> keys;
    int quitRequests = 0;
    int frames = 0;
};

// How many pixels of a rectangle of the picture are close to a colour.
int countNear(const nimbo::Image& image, Rectangle area, Color color) {
    int n = 0;
    for (int y = (int)area.y; y < (int)area.bottom(); ++y) {
        for (int x = (int)area.x; x < (int)area.right(); ++x) {
            n += near(image.getPixel(x, y), color, 40) ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(HeadlessRun, DrawsAnswersScriptedInputAndWritesThePicture) {
    TempDir dir;
    nimbo::Image picture(32, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            picture.setPixel(x, y, x < 16 ? Color(255, 0, 0) : Color(0, 255, 0));
        }
    }
    picture.savePng(dir / "picture.png");
    std::ofstream(dir / "input.txt") << "1 click 100 150\n"
                                        "3 key 65\n"
                                        "4 quit\n"
                                        "5 screenshot "
                                     << dir / "frame5.png"
                                     << "\n";
    setenv("ZEPH_HEADLESS", "1", 1);
    setenv("ZEPH_FRAMES", "8", 1);
    setenv("ZEPH_INPUT", (dir / "input.txt").c_str(), 1);
    setenv("ZEPH_SCREENSHOT", (dir / "final.png").c_str(), 1);
    setenv("ZEPH_WINDOW", "320x240", 1);
    vessot::Log::setEcho(false);

    Game game(dir / "picture.png");
    int code =
        nimbo_main([&](const vessot::Array<vessot::String>&) { game.init(); }, [&] { game.destroy(); }, 0, nullptr);

    EXPECT_EQ(code, 0);
    EXPECT_EQ(game.frames, 8);
    EXPECT_EQ(game.clicks, (std::vector<morvec::Vector2>{{100, 150}}));
    EXPECT_EQ(game.keys, (std::vector<int>{65}));
    EXPECT_EQ(game.quitRequests, 1);
    nimbo::Image final = nimbo::Image::load(dir / "final.png");
    ASSERT_EQ(final.getWidth(), 320);
    ASSERT_EQ(final.getHeight(), 240);
    // The quad turned about its centre (60, 80): 40 wide and 80 high, green in the upper half.
    EXPECT_GT(countNear(final, Rectangle(45, 45, 30, 30), Color(0, 255, 0)), 800);
    EXPECT_GT(countNear(final, Rectangle(45, 85, 30, 30), Color(255, 0, 0)), 800);
    EXPECT_EQ(countNear(final, Rectangle(0, 0, 38, 240), Color(0, 255, 0)), 0);
    // The text: white "Clicks 1" and, after the key, a yellow word.
    EXPECT_GT(countNear(final, Rectangle(120, 20, 200, 40), Color::White), 40);
    EXPECT_GT(countNear(final, Rectangle(120, 20, 200, 40), Color(255, 255, 0)), 20);
    EXPECT_TRUE(vessot::File::exists(dir / "frame5.png"));
    vessot::Log::setEcho(true);
}
