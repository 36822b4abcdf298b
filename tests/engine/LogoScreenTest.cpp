// The logo screen: which pictures of its folder it shows, their timing and brightness, where they
// are drawn, and its end action.
#include "SceneObjectFixture.h"

#include "engine/scene/LogoScreen.h"
#include "engine/session/TransitionManager.h"

#include "nimbo/Texture.h"

namespace {

class LogoScreenTest : public SceneObjectFixture {
protected:
    // A picture of 16 x 9 pixels, blue with its leftmost column green, over three red rows.
    void picture(const std::string& name) {
        nimbo::Image image(16, 12, nimbo::Color(255, 0, 0, 255));
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 16; ++x) {
                image.setPixel(x, y, x == 0 ? nimbo::Color(0, 255, 0, 255) : nimbo::Color(0, 0, 255, 255));
            }
        }
        std::filesystem::create_directories(dir / "logos");
        image.savePng(dir / ("logos/" + name));
    }

    LogoScreen* logo(const std::string& attributes) {
        define("done", "0");
        // The folder is named under the game's folder, as the data names it.
        vessot::String root = vessot::resourceRoot();
        vessot::setResourceRoot(dir.path);
        room(R"(<Action name="Room_done" type="Execute" cmd="inc_var done 1"/>)", {},
             "type=\"LogoScreen\" path=\"logos\" " + attributes);
        vessot::setResourceRoot(root);
        return dynamic_cast<LogoScreen*>(Session::activeScene);
    }

    std::vector<std::string> shown(LogoScreen* screen) {
        std::vector<std::string> names;
        for (nimbo::Texture* texture : screen->getLogos()) {
            names.push_back(std::filesystem::path(std::string(texture->getFilename())).filename());
        }
        return names;
    }
};

} // namespace

TEST_F(LogoScreenTest, PicturesInNameOrderPngFirstUnreadableOnesSkipped) {
    picture("1_a.png");
    std::filesystem::copy_file(dir / "logos/1_a.png", dir / "logos/1_a.jpg"); // the ".png" wins
    std::filesystem::copy_file(dir / "logos/1_a.png", dir / "logos/2_b.jpg"); // only in another format
    std::filesystem::copy_file(dir / "logos/1_a.png", dir / "logos/3_c.svn-base.png");
    write("logos/4_broken.png", "not a picture");
    picture("5_d_wide.png");
    LogoScreen* screen = logo("");
    EXPECT_EQ(shown(screen), (std::vector<std::string>{"1_a.png", "2_b.jpg", "5_d_wide.png"}));
    EXPECT_NE(log().find("logo screen test.Room: skipping 'logos/4_broken.png', not a readable "
                         "picture"),
              std::string::npos);
}

TEST_F(LogoScreenTest, EachPictureFadesInHoldsAndFadesOutThenTheEndActionRuns) {
    picture("1.png");
    picture("2.png");
    LogoScreen* screen = logo("duration=\"2\" fade_time=\"0.5\"");
    struct Step {
        float dt;
        bool click;
        float brightness;
        size_t left;
        const char* done;
    } steps[] = {
        {0.25f, false, 0.5f, 2, "0"}, {0.5f, false, 1.0f, 2, "0"},  {2.0f, false, 0.5f, 2, "0"},
        {0.25f, false, 0.0f, 2, "0"}, {0.01f, false, 0.0f, 1, "0"}, // the next picture, 3 s on
        {0.0f, true, 0.0f, 1, "1"},   {0.0f, true, 0.0f, 1, "1"},   // a click ends it once
        {3.0f, false, 0.0f, 1, "1"},  {0.01f, false, 0.0f, 0, "2"}, // and so does the last picture
    };
    for (const Step& s : steps) {
        if (s.click) {
            bool first = Vars::value("done") == "0";
            EXPECT_EQ(screen->onMouseUp(10, 10, 1), first);
        }
        screen->update(s.dt);
        EXPECT_NEAR(screen->getBrightness(), s.brightness, 1e-4) << s.dt;
        EXPECT_EQ(screen->getLogos().size(), s.left) << s.dt;
        EXPECT_EQ(Vars::value("done"), s.done) << s.dt;
    }
    // Leaving frees what is left; entering again shows nothing and ends at once.
    screen->deactivate(false);
    screen->activate();
    screen->update(0.0f);
    EXPECT_EQ(Vars::value("done"), "3");
}

TEST_F(LogoScreenTest, AnEmptyFolderEndsOnceTheSceneHasBeenEntered) {
    std::filesystem::create_directories(dir / "logos");
    Transitions::Immediate entering;
    Session::activeTransition = &entering;
    LogoScreen* screen = logo("");
    screen->update(0.1f);
    EXPECT_EQ(Vars::value("done"), "0");
    Session::activeTransition = nullptr;
    screen->update(0.1f);
    screen->update(0.1f);
    EXPECT_EQ(Vars::value("done"), "1");
    EXPECT_EQ(drawnAt(200, 160), nimbo::Color(0, 0, 0, 255));
}

TEST_F(LogoScreenTest, PicturesCoverTheVisibleAreaWidePicturesKeepTheirShape) {
    picture("1.png");
    picture("2_wide.png");
    LogoScreen* screen = logo("fade_time=\"0\"");
    screen->update(1.0f);
    EXPECT_EQ(screen->getBrightness(), 1.0f); // no fades at all
    // Stretched over the 4:3 window, the green column shows at its left edge; the 16:9 picture is
    // drawn 4/3 as wide, centred, which cuts them off.
    EXPECT_EQ(drawnAt(2, 160), nimbo::Color(0, 255, 0, 255));
    EXPECT_EQ(drawnAt(200, 318), nimbo::Color(0, 0, 255, 255)); // the red rows below stay unseen
    screen->update(2.5f);
    ASSERT_EQ(screen->getLogos().size(), 1u);
    EXPECT_EQ(drawnAt(2, 160), nimbo::Color(0, 0, 255, 255));
    EXPECT_EQ(drawnAt(424, 160), nimbo::Color(0, 0, 255, 255));
}
