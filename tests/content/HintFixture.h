#pragma once
// The running game for the content's hint tests: scenes of chapters whose data is not made yet
// stand in as empty scenes of their chapter, made active as the engine would; story states are
// written as "name=value" lists.

#include "engine/RunningGame.h"

#include "engine/session/Vars.h"
#include "vessot/Array.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

class HintGame : public RunningGame {
protected:
    void TearDown() override {
        // The stand-in scenes go first: the game ends in a scene of its own, which forgets them.
        if (isStandIn(Session::activeScene)) {
            switchNow("ship.Cockpit");
        }
        if (isStandIn(Session::previousScene)) {
            Session::previousScene = nullptr;
        }
        standIns.clear();
        game.reset();
    }

    // Makes the scene ("chapter.Scene") active: a scene of the data by the engine's switch, any
    // other as an empty stand-in of its chapter, entered without its chapter's data.
    void enter(const vessot::String& fullName) {
        if (Session::activeScene && Session::activeScene->getFullName() == fullName) {
            return;
        }
        vessot::String chapterName;
        vessot::String sceneName;
        fullName.split(".", chapterName, sceneName);
        Chapter* chapter = chapterNamed(chapterName);
        if (chapter->isLoaded() && chapter->scenes.count(sceneName)) {
            switchNow(fullName);
            return;
        }
        std::unique_ptr<Scene>& scene = standIns[fullName];
        if (!scene) {
            scene = std::make_unique<Scene>(chapter, sceneName);
            scene->ensureRoot();
        }
        Session::activeScene = scene.get();
        Vars::get("active_scene")->setValue(fullName, true);
    }

    // Sets "name=value" pairs, separated by blanks ("a=1 b=" sets b to "").
    static void setVars(const vessot::String& pairs) {
        for (const vessot::String& pair : pairs.split(" ", -1, true)) {
            vessot::String name;
            vessot::String value;
            pair.split("=", name, value);
            Vars::get(name)->setValue(value, true);
        }
    }

private:
    bool isStandIn(const Scene* scene) const {
        for (const auto& [name, standIn] : standIns) {
            if (standIn.get() == scene) {
                return true;
            }
        }
        return false;
    }

    // The chapter of that name; one that the game does not create yet is made (and never loaded).
    static Chapter* chapterNamed(const vessot::String& name) {
        if (auto* chapter = dynamic_cast<Chapter*>(nimboui::getDatasetByName(name))) {
            return chapter;
        }
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / name.c_str() / (name + ".datadef").c_str();
        // Owned by the GUI library from now on, as the game's chapters are.
        return new Chapter(path.string(), nullptr);
    }

    std::map<vessot::String, std::unique_ptr<Scene>> standIns;
};
