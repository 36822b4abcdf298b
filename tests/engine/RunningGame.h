#pragma once
// The real game started on the bundled data for one test (the whole-game harness), with the loading
// picture taken away so that input counts at once, and the helpers the engine's tests share.

#include "GameHarness.h"

#include "engine/app/Game.h"
#include "engine/app/Lifetime.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "engine/session/Vars.h"
#include "script/Character2D.h"
#include "script/Characters.h"

#include "marionix/Actor.h"
#include "nimboui/Object.h"
#include "nimboui/nimboui.h"

#include <gtest/gtest.h>
#include <memory>

// The current character of the active scene, standing at (x, y) facing south with nothing to do.
inline Character2D* standCharacter(float x, float y) {
    Character2D* character = Characters::getCurrentCharacter();
    character->clearJobs();
    character->placeAt("S", x, y);
    return character;
}

// A job of any type name that never ends.
class TestJob : public Marionix::Job {
public:
    explicit TestJob(const vessot::String& type) : type(type) {}
    Marionix::Job* clone() const override { return new TestJob(type); }
    void update(float) override {}
    bool isDone() override { return false; }
    vessot::String getTypeName() const override { return type; }
    void start() override {}

private:
    vessot::String type;
};

class RunningGame : public ::testing::Test {
protected:
    void SetUp() override {
        game = std::make_unique<GameHarness>(options());
        settle();
    }
    void TearDown() override { game.reset(); }

    virtual GameHarness::Options options() const { return GameHarness::Options(); }

    // The loading picture gone, as after its fade.
    static void settle() {
        loadingScreenFade = -1.0f;
        Game::releaseLoadingScreen();
        loadingScreenAlpha = 0.0f;
    }

    // An immediate switch inside an engine callback's scope, as the game makes them.
    static void switchNow(const vessot::String& target) {
        Lifetime::Scope scope;
        Session::switchScene(target, "", "", 0.0f);
    }

    static bool isLoaded(const vessot::String& chapter) {
        nimboui::Dataset* dataset = nimboui::getDatasetByName(chapter);
        return dataset && dataset->isLoaded();
    }

    static vessot::String var(const vessot::String& name) { return Vars::value(name); }

    std::unique_ptr<GameHarness> game;
};
