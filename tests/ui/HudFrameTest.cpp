// The frame's draw on the running game: the layers in their order, under their projections and
// transforms, recorded by stand-in images and objects; and the aspect chooser's close images.
#include "UiTest.h"

#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "ui/Hints.h"

#include "nimbo/Nimbo.h"
#include "nimboui/CompositeImage.h"
#include "nimboui/ImageBox.h"

#include <functional>

namespace {

struct Drawn {
    std::string layer;
    morvec::Matrix4 projection;
    morvec::Matrix4 modelview;
};

std::vector<Drawn> drawn;

void record(const std::string& layer) {
    // One entry per layer: a layer draws several pictures in a row.
    if (drawn.empty() || drawn.back().layer != layer) {
        nimbo::RenderSystem* rs = nimbo::rendersys;
        drawn.push_back({layer, rs->getProjectionMatrix(), rs->getModelviewMatrix()});
    }
}

// An image of the "ui" chapter that records its draws under the name of its layer.
class RecordingImage : public nimboui::Image {
public:
    RecordingImage(const vessot::String& name, std::string layer)
        : nimboui::Image(nullptr, name, morvec::Rectangle(0, 0, 64, 64)), layer(std::move(layer)) {}
    void draw(const morvec::Rectangle&, const nimbo::Color&, float) override { record(layer); }

private:
    std::string layer;
};

class RecordingObject : public nimboui::Object {
public:
    RecordingObject(const vessot::String& name, std::string layer)
        : nimboui::Object("Recorder", name, morvec::Rectangle(0, 0, 1, 1)), layer(std::move(layer)) {}
    void OnDraw(const morvec::Vector2&) override { record(layer); }

private:
    std::string layer;
};

class HudFrameTest : public RunningGame {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options wide;
        wide.width = 1280;
        wide.height = 720;
        return wide;
    }

    // Every layer given something to draw, each drawing a recorder.
    void SetUp() override {
        RunningGame::SetUp();
        const std::pair<const char*, const char*> images[] = {{"gui/transparent_selector", "markers"},
                                                              {"gui/arrow_look", "markers"},
                                                              {"margin", "margins"},
                                                              {"margin_inv", "margins"},
                                                              {"gui/diary_up", "diary"},
                                                              {"gui/cursor", "cursor"},
                                                              {"gui/tutorial_arrow", "arrows"}};
        for (const auto& [name, layer] : images) {
            uiChapter->registerManualImage(new RecordingImage(name, layer));
        }
        auto* ui = new RecordingObject("ui_recorder", "ui");
        uiChapter->registerManualObject(ui);
        Hud::uiObject("ui")->addChild(ui);
        auto* scene = new RecordingObject("scene_recorder", "scene");
        Session::activeScene->chapter->registerManualObject(scene);
        Session::activeScene->root->addChild(scene);
        Session::params["margintex"] = "1";
        Hints::marker = {{}, nullptr, 3.0f};
        Hud::taskNotifications = {1.0f};
        Vars::get("tutorial_arrow")->setValue("100,100,0,$casual_mode == 0", true);
        // The pointer on the screen's empty middle.
        nimboui::setCursorPosition(213, 150);
        sceneCursor = morvec::Vector2(213, 150);
    }
    void TearDown() override {
        Session::params["screenshot"] = "0";
        Session::params["iphone_ui"] = "none";
        RunningGame::TearDown();
    }

    static morvec::Matrix4 projection(bool hud) {
        Hud::setProjection(hud);
        return nimbo::rendersys->getProjectionMatrix();
    }
};

TEST_F(HudFrameTest, TheLayersAreDrawnInOrderUnderTheirProjections) {
    const std::vector<std::string> hud = {"scene", "markers", "margins", "ui", "diary", "cursor", "arrows"};
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::vector<std::string> layers;
        // The markers' translation (the camera's and the "iphone_ui" shift).
        float shift;
    };
    const Case cases[] = {
        {"normal", [] {}, hud, 0},
        {"left-handed phone layout", [] { Session::params["iphone_ui"] = "left"; }, hud, 54},
        {"screenshot", [] { Session::params["screenshot"] = "1"; }, {"scene"}, 0},
        {"question", [] { Vars::get("cdialog")->setValue("INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none"); }, hud, 0},
        {"transition", [] { Session::switchScene("Corridor", "fade", "", 1.0f); }, hud, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        morvec::Matrix4 sceneProjection = projection(false);
        morvec::Matrix4 hudProjection = projection(true);
        drawn.clear();
        Hud::drawFrame();
        std::vector<std::string> layers;
        for (const Drawn& d : drawn) {
            layers.push_back(d.layer);
            // The arrow's entry gives no side: scene units, without the camera's translation.
            bool underHud = d.layer == "ui" || d.layer == "diary" || d.layer == "cursor";
            EXPECT_EQ(d.projection, underHud ? hudProjection : sceneProjection) << d.layer;
            bool translated = d.layer == "scene" || d.layer == "markers";
            morvec::Matrix4 expected;
            if (translated) {
                expected.translate(c.shift, 0, 0);
            }
            EXPECT_EQ(d.modelview, expected) << d.layer;
        }
        EXPECT_EQ(layers, c.layers);
        EXPECT_EQ(nimbo::rendersys->getModelviewMatrix(), morvec::Matrix4());
        Session::params["screenshot"] = "0";
        Session::params["iphone_ui"] = "none";
    }
}

TEST_F(HudFrameTest, TheAspectChooserStretchesItsCloseImagesOnlyWhenTheAspectChanges) {
    auto width = [](const char* name) {
        return dynamic_cast<nimboui::CompositeImage*>(uiChapter->getImage(name))->getImageRefs()[0].rect.w;
    };
    const struct {
        const char* aspect;
        float width;
    } cases[] = {{"4:3", 108}, {"16:9", 81}, {"4:3", 108}, {"4:3", 50}, {"screen", 81}, {"nonsense", 108}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.aspect);
        // A width set by hand stays while the aspect stays.
        Session::params["aspect"] = c.aspect;
        if (c.width == 50) {
            dynamic_cast<nimboui::CompositeImage*>(uiChapter->getImage("gui/aspect_close_up"))
                ->getImageRefs()[0]
                .rect.w = 50;
        }
        Hud::updateAspectChooser();
        EXPECT_NEAR(width("gui/aspect_close_up"), c.width, 1e-3f);
        if (c.width != 50) {
            EXPECT_NEAR(width("gui/aspect_close_dn"), c.width, 1e-3f);
            EXPECT_NEAR(width("gui/aspect_close_hover"), c.width, 1e-3f);
        }
    }
}

} // namespace
