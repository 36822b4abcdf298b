#pragma once
// A chapter "test" in a temporary folder whose scene "Room" holds the objects under test, loaded
// and active, with a headless window of 64 x 48 pixels showing the 426 x 320 virtual screen.

#include "ChapterFixture.h"

#include "nimbo/Nimbo.h"
#include "nimbo/RenderSystem.h"

#include <cstdlib>

class SceneObjectFixture : public ChapterFixture {
protected:
    void SetUp() override {
        ChapterFixture::SetUp();
        setenv("ZEPH_HEADLESS", "1", 1);
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(64, 48, false, "test");
        nimbo::rendersys->setOrthoProjection(morvec::Vector2(426, 320));
    }

    void TearDown() override {
        ChapterFixture::TearDown();
        nimbo::destroy();
    }

    // The scene element's children; the hotspot map holds the areas. Answers the active scene.
    Scene* room(const std::string& children, const std::vector<Area>& areas = {},
                const std::string& sceneAttributes = "") {
        if (!test) {
            definition("test", {"Room", "pic"});
            test = chapter("test");
        }
        test->unload();
        scene("test", "Room.scene", "<Scene name=\"Room\" " + sceneAttributes + ">" + children + "</Scene>");
        map("test", "Room", areas);
        test->load();
        Session::activeScene = test->getScene("Room");
        Session::activeScene->activate();
        return Session::activeScene;
    }

    template <class T> T* object(const char* name) {
        T* found = dynamic_cast<T*>(test->getObject(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // What the window shows at a point of the virtual screen, after drawing the active scene.
    nimbo::Color drawnAt(float x, float y) {
        nimbo::rendersys->clear();
        Session::activeScene->draw();
        return nimbo::rendersys->captureScreen().getPixel((int)(x * 64 / 426), (int)(y * 48 / 320));
    }

    Chapter* test = nullptr;
};
