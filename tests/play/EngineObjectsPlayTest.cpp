// The engine's scene objects in the running game: the galley's videos (a face on its screen), lamp,
// arrow marker, delayed action, hidden fuse and dim-in, and the title reel (the front end's logo
// screen) that its screen leads to.
#include "GameHarness.h"

#include "engine/objects/ActionArrowMarker.h"
#include "engine/objects/AudioVideoTimer.h"
#include "engine/objects/VideoObject.h"
#include "engine/scene/LogoScreen.h"
#include "engine/session/Session.h"

#include "nimboui/nimboui.h"
#include "reelix/TheoraVideoClip.h"

#include <gtest/gtest.h>

namespace {

// Hotspot centres and objects of the galley, in scene units.
const morvec::Vector2 GALLEY_SCREEN(362, 124);
const morvec::Vector2 GALLEY_DOOR(40, 170);
const morvec::Vector2 GALLEY_FLOOR(213, 300);
const morvec::Vector2 FUSE(340, 67);
// Points of the lamp's light and of the fuse's glass; of the open locker's inside and the bare wall.
const morvec::Vector2 LAMP_LIGHT(368, 36);
const morvec::Vector2 FUSE_GLASS(337, 64);
const morvec::Vector2 LOCKER_INSIDE(176, 165);
const morvec::Vector2 WALL(360, 180);

template <class T> T* shipObject(const char* name) {
    return dynamic_cast<T*>(nimboui::getDatasetByName("ship")->getObject(name));
}

int brightness(const nimbo::Color& c) {
    return c.r + c.g + c.b;
}

// The colour the screen shows at a point of the scene.
nimbo::Color shownAt(const GameHarness& game, const morvec::Vector2& point) {
    morvec::Vector2 window = game.sceneToWindow(point.x, point.y);
    return game.screenshot().getPixel((int)window.x, (int)window.y);
}

class GalleyPlay : public ::testing::Test {
protected:
    explicit GalleyPlay(GameHarness::Options options = {}) : game(options) {}

    void SetUp() override {
        game.passLoadingFade();
        Session::queueCommand("switch_scene Galley");
        game.step(2); // the switch, then the first draw, which makes the clips
        ASSERT_EQ(game.activeScene(), "ship.Galley");
    }

    GameHarness game;
};

TEST_F(GalleyPlay, TheGalleysObjectsPlayFadeFireAndCanBeCollected) {
    auto* screen = shipObject<nimbovideo::VideoObject>("galley_screen");
    auto* beacon = shipObject<nimbovideo::VideoObject>("galley_beacon");
    ASSERT_NE(screen->getClip(), nullptr);
    ASSERT_NE(beacon->getClip(), nullptr);
    // The beacon keeps time by its own sound.
    EXPECT_NE(dynamic_cast<nimbovideo::AudioVideoTimer*>(beacon->getClip()->getTimer()), nullptr);
    std::set<int> frames;
    for (int i = 0; i < 40; ++i) {
        game.step(3);
        frames.insert(screen->getFrameNumber());
    }
    EXPECT_GE(frames.size(), 10u); // decoding runs on a worker: not every frame shows
    // It shows a face talking: skin in its middle, no test pattern.
    nimbo::Color face = shownAt(game, GALLEY_SCREEN);
    EXPECT_GT((int)face.r, 200);
    EXPECT_GT((int)face.g, face.b + 20);
    // Two seconds in: the lamp is fully lit (once) and the delayed action has counted the stay.
    EXPECT_EQ(game.var("galley_light"), "1");
    EXPECT_EQ(game.var("galley_lingered"), "1");
    EXPECT_NE(game.log().find("[zeph] the galley lamp is fully lit\n"), std::string::npos);
    // The lit lamp shows its warm light under its shade; the fuse's light blue glass shows on the wall.
    nimbo::Color light = shownAt(game, LAMP_LIGHT);
    nimbo::Color glass = shownAt(game, FUSE_GLASS);
    EXPECT_GT((int)light.r, light.b + 80);
    EXPECT_GT((int)glass.b, glass.r + 50);
    // The fuse is collected with a click and stays gone, the wall showing where it lay.
    game.click(FUSE.x, FUSE.y);
    game.step();
    nimbo::Color wall = shownAt(game, FUSE_GLASS);
    EXPECT_GT((int)wall.r, (int)wall.b);
    EXPECT_EQ(game.var("ho_fuse"), "0");
    EXPECT_EQ(game.var("items"), "fuse");
    EXPECT_EQ(shipObject<nimboui::Object>("fuse")->getParent(), nullptr);
    EXPECT_EQ(game.var("galley_lingered"), "1"); // the reset re-armed the delayed action
    game.stepSeconds(2.1f);
    EXPECT_EQ(game.var("galley_lingered"), "2");
    // Standing still there adds nothing to the log.
    size_t logged = game.log().size();
    game.stepSeconds(6.0f);
    EXPECT_EQ(game.log().substr(logged), "");
}

// While the galley dims in, all it shows darkens alike: the open locker does not show what lies under it.
TEST_F(GalleyPlay, WhileItDimsInAllItShowsDarkensAlike) {
    // Settled, with the loading picture gone: the locker opens and the galley enters anew.
    game.stepSeconds(2.0f);
    game.setVar("locker_open", "1");
    Session::queueCommand("reset_scene");
    game.step(2);
    nimbo::Image dim = game.screenshot();
    game.stepSeconds(1.0f);
    nimbo::Image lit = game.screenshot();
    auto share = [&](const morvec::Vector2& point) {
        morvec::Vector2 at = game.sceneToWindow(point.x, point.y);
        return (float)brightness(dim.getPixel((int)at.x, (int)at.y)) / brightness(lit.getPixel((int)at.x, (int)at.y));
    };
    EXPECT_LT(share(WALL), 0.8f);
    EXPECT_NEAR(share(LOCKER_INSIDE), share(WALL), 0.05f);
}

TEST_F(GalleyPlay, TheScreenLeadsToTheTitleReelWhichEndsBackInTheGalley) {
    game.click(GALLEY_SCREEN.x, GALLEY_SCREEN.y);
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "menu.TitleReel");
    auto* logo = dynamic_cast<LogoScreen*>(Session::activeScene);
    ASSERT_NE(logo, nullptr);
    ASSERT_EQ(logo->getLogos().size(), 2u);
    EXPECT_TRUE(nimboui::getDatasetByName("ship") == nullptr || !nimboui::getDatasetByName("ship")->isLoaded());
    // The title at full brightness once the loading picture is gone, then the engine's name.
    game.stepSeconds(1.6f);
    int title = brightness(game.screenshot().getPixel(320, 240));
    game.stepSeconds(0.5f);
    EXPECT_LT(brightness(game.screenshot().getPixel(320, 240)), title / 2); // fading out
    game.stepSeconds(0.5f);
    EXPECT_EQ(logo->getLogos().size(), 1u);
    game.stepSeconds(2.5f);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Galley");
    EXPECT_EQ(game.var("prev_scene"), "menu.TitleReel");
}

TEST_F(GalleyPlay, AClickEndsTheTitleReelAtOnce) {
    game.click(GALLEY_SCREEN.x, GALLEY_SCREEN.y);
    game.finishTransition();
    game.passLoadingFade();
    ASSERT_EQ(game.activeScene(), "menu.TitleReel");
    game.click(GALLEY_FLOOR.x, GALLEY_FLOOR.y);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Galley");
}

// The arrow over the galley's door follows the pointer whatever the window's size and shape.
class ArrowPlay : public GalleyPlay, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    ArrowPlay() : GalleyPlay(options()) {}

    static GameHarness::Options options() {
        GameHarness::Options options;
        options.width = GetParam().first;
        options.height = GetParam().second;
        return options;
    }
};

TEST_P(ArrowPlay, TheDoorsArrowShowsWhileThePointerIsOnTheDoor) {
    auto* arrow = shipObject<ActionArrowMarker>("galley_door_arrow");
    game.move(GALLEY_DOOR.x, GALLEY_DOOR.y);
    game.stepSeconds(0.25f);
    EXPECT_EQ(arrow->getVisibility(), 1.0f);
    game.move(GALLEY_FLOOR.x, GALLEY_FLOOR.y);
    game.stepSeconds(0.25f);
    EXPECT_EQ(arrow->getVisibility(), 0.0f);
    game.move(GALLEY_DOOR.x + 25, GALLEY_DOOR.y + 85); // the door's lower right corner
    game.stepSeconds(0.25f);
    EXPECT_EQ(arrow->getVisibility(), 1.0f);
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, ArrowPlay,
                         ::testing::Values(std::make_pair(640, 480), std::make_pair(1280, 720),
                                           std::make_pair(1024, 768), std::make_pair(600, 800)));

} // namespace
