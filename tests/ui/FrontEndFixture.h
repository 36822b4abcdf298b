#pragma once
// What the front end's tests share: the running game with its user folder, files and folders in
// it, the menu chapter's objects and clicks on them, and the transition a click started.

#include "UiTest.h"

#include "engine/session/zephUtil.h"
#include "ui/Menu.h"

#include "nimboui/nimboui.h"

#include <filesystem>
#include <fstream>
#include <sstream>

class FrontEndTest : public RunningGame {
public:
    static std::string user(const std::string& relative = "") {
        return std::string(zephUtil::getUserDataPath()) + relative;
    }

    // "name" makes a folder when it ends in "/", else a file with the text (after a byte-order
    // mark for name files).
    static void make(const std::string& entry, const std::string& text = "") {
        std::filesystem::path path = user(entry);
        if (entry.back() == '/') {
            std::filesystem::create_directories(path);
            return;
        }
        std::filesystem::create_directories(path.parent_path());
        bool nameFile = path.filename() == "username.txt";
        std::ofstream(path, std::ios::binary) << (nameFile ? "\xEF\xBB\xBF" : "") << text;
    }

protected:
    static bool exists(const std::string& relative) { return std::filesystem::exists(user(relative)); }

    static std::string read(const std::string& relative) {
        std::ifstream in(user(relative), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    template <class T = nimboui::Object> static T* menu(const vessot::String& name) { return Menu::objectOf<T>(name); }

    // Enters the menu scene at once, as from another scene.
    static void enter(const vessot::String& scene) {
        switchNow("menu." + scene);
        settle();
    }

    // A click on the middle of an object of the active menu scene (scene units).
    void press(const vessot::String& name) {
        nimboui::Object* object = menu(name);
        morvec::Vector2 at = GameHarness::centreOf(object);
        game->click(at.x, at.y);
    }

    // The running transition's target, "" when none runs.
    static std::string target() {
        return Session::activeTransition ? std::string(Session::activeTransition->targetScene) : std::string();
    }
    static bool fades() { return Session::activeTransition == Session::transitions["fade"]; }
};
