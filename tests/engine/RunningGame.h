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

#include "marionix/Actor.h"
#include "nimboui/Object.h"
#include "nimboui/nimboui.h"

#include <gtest/gtest.h>
#include <memory>

// A character stand-in: a GUI object that is also an actor with a job queue.
class Walker : public nimboui::Object, public Marionix::Actor {
public:
    Walker(const vessot::String& name, float x, float y)
        : nimboui::Object("Walker", name, morvec::Rectangle(x, y, 1, 1)), Marionix::Actor(name) {
        Marionix::Actor::setPosition(x, y, 0.0f);
    }
};

// A walker in the characters chapter, made the current character; the chapter owns it.
inline Walker* addWalker(float x, float y) {
    auto* walker = new Walker("walker", x, y);
    charactersChapter->registerManualObject(walker);
    Vars::get("current_character")->setValue("walker", true);
    return walker;
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
