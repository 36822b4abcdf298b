#pragma once
// The real game on the bundled data for one test, with a temporary user folder, and the helpers the
// tests of saving, loading and the menus share: slot folders written by hand, files read back,
// clicks on the objects of the "ui" chapter.

#include "GameHarness.h"

#include "engine/app/Game.h"
#include "engine/app/Lifetime.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/SaveLoadMenu.h"

#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"
#include "nimboui/Object.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The current profile's folder.
inline fs::path profile() {
    return fs::path(zephUtil::getUserDataPath() + Session::getParam("profile"));
}
inline fs::path slot(const std::string& name) {
    return profile() / name;
}

// A slot as a save writes it: "info.txt" of the scene, a date and the minutes, and "game.sav".
inline void writeSlot(const std::string& name, const std::string& scene, int minutes, const std::string& save = "") {
    writeFile(slot(name) / "info.txt",
              "zeph_save_fmt_1.0\n" + scene + "\n03/09/2021 17:05\n" + std::to_string(minutes) + "\n");
    writeFile(slot(name) / "game.sav", save.empty() ? "active_scene: " + scene + "\n" : save);
}

class SaveFixture : public ::testing::Test {
protected:
    void SetUp() override {
        game = std::make_unique<GameHarness>();
        game->passLoadingFade();
        ASSERT_EQ(var("active_scene"), "ship.Cockpit");
    }
    void TearDown() override { game.reset(); }

    static vessot::String var(const vessot::String& name) { return Vars::value(name); }
    static void set(const vessot::String& name, const vessot::String& value) { Vars::get(name)->setValue(value); }

    // An immediate switch inside an engine callback's scope, as the game makes them.
    static void switchNow(const vessot::String& target) {
        Lifetime::Scope scope;
        Session::switchScene(target, "", "", 0.0f);
    }

    // A chapter of one empty scene in the user folder, registered with the game.
    void makeChapter(const std::string& name, const std::string& scene) {
        fs::path root = fs::path(game->userFolder()) / "chapters" / name;
        writeFile(root / (name + "_hd.datadef"), "<Dataset/>\n");
        writeFile(root / "scenes" / (scene + ".scene"), "<Scene name=\"" + scene + "\" image=\"null\"/>\n");
        fs::create_directories(root / "action_maps");
        fs::copy_file("data/ui/action_maps/HelpMenu.amp", root / "action_maps" / (scene + ".amp"));
        new Chapter((root / (name + "_hd.datadef")).string(), nullptr); // the GUI library owns it
    }

    static nimboui::Object* object(const vessot::String& name) { return uiChapter->getObject(name); }
    static nimboui::Label* label(const vessot::String& name) { return dynamic_cast<nimboui::Label*>(object(name)); }

    // A click on the middle of an object of the "ui" chapter shown in a menu scene.
    void clickObject(const vessot::String& name) {
        nimboui::Object* target = object(name);
        morvec::Vector2 at = GameHarness::centreOf(target);
        game->click(at.x, at.y);
    }

    std::unique_ptr<GameHarness> game;
};
