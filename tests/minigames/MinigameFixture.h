#pragma once
// A chapter "games" built in a temporary folder for the minigame tests: one texture with the images
// the tests use, the scene files given, an empty hotspot map per scene and the sound "beep". The
// random source starts from a fixed seed; "solved" counts the success commands that ran.

#include "engine/ChapterFixture.h"
#include "engine/view/Viewport.h"

#include "vessot/System.h"

#include <map>

class MinigameFixture : public ChapterFixture {
protected:
    static constexpr float FRAME = 1.0f / 60.0f;

    void SetUp() override {
        ChapterFixture::SetUp();
        vessot::srand(7);
        define("solved", "0");
        sceneCursor = morvec::Vector2(0, 0);
        cameraOffsetX = 0.0f;
        std::string images = "<Texture name=\"art\" file=\"art.png\"/>\n";
        for (const auto& [name, size] : imageSizes()) {
            images += "<Image name=\"" + name + "\" texture=\"art\" x=\"0\" y=\"0\" w=\"" + std::to_string(size.first) +
                      "\" h=\"" + std::to_string(size.second) + "\"/>\n";
        }
        std::filesystem::create_directories(dir / "chapters/games/audio");
        nimbo::Image(512, 512, nimbo::Color(90, 90, 90, 255)).savePng(dir / "chapters/games/art.png");
        write("chapters/games/games_hd.datadef", "<Dataset>\n" + images + "</Dataset>\n");
        mediagen::writeFile(dir / "chapters/games/audio/beep.wav",
                            mediagen::wav(std::vector<float>(4410, 0.25f), 44100, 1, 16));
    }

    // Image name -> width and height in pixels (units: the tests keep the default scale of 1).
    static std::map<std::string, std::pair<int, int>> imageSizes() {
        return {{"tile", {40, 40}},     {"piece", {60, 50}},        {"wide", {426, 10}},        {"tall", {10, 320}},
                {"almost", {425, 319}}, {"ring_outer", {200, 200}}, {"ring_inner", {120, 120}}, {"lamp", {30, 30}},
                {"lamp_lit", {31, 31}}, {"grid_00", {40, 30}},      {"grid_01", {40, 30}},      {"grid_02", {40, 30}},
                {"grid_10", {40, 30}},  {"grid_11", {40, 30}},      {"grid_12", {40, 30}}};
    }

    // Writes these scene files (name -> the whole "Scene" element) and loads the chapter.
    Chapter* loadGames(const std::map<std::string, std::string>& scenes) {
        for (const auto& [name, xml] : scenes) {
            scene("games", name + ".scene", xml);
            map("games", name, {});
        }
        if (!games) {
            games = chapter("games");
        }
        games->load();
        return games;
    }

    // Loads a chapter of the one scene "Game" and enters it.
    template <class T> T* enter(const std::string& xml) {
        loadGames({{"Game", xml}});
        auto* entered = dynamic_cast<T*>(games->getScene("Game"));
        EXPECT_NE(entered, nullptr);
        Session::activeScene = entered;
        entered->activate();
        return entered;
    }

    // Leaves the scene and enters it again.
    static void reenter(Scene* scene) {
        scene->deactivate(false);
        scene->activate();
    }

    static void run(Scene* scene, float seconds) {
        for (int frame = 0; frame < (int)(seconds * 60.0f + 0.5f); ++frame) {
            scene->update(FRAME);
        }
    }

    // A press and release at the scene point; answers the release's answer.
    static bool click(Scene* scene, float x, float y, int button = 1) {
        scene->onMouseDown(x, y, button);
        return scene->onMouseUp(x, y, button);
    }

    String solved() { return Vars::value("solved"); }

    Chapter* games = nullptr;
};
