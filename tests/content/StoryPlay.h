#pragma once
// The whole-game fixture of the story chapters' runs: the real game, scenes entered as a script enters
// them, and clicks on the areas of the scenes' hotspot maps.

#include "GameHarness.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"

#include <gtest/gtest.h>

class StoryPlay : public ::testing::Test {
protected:
    explicit StoryPlay(const GameHarness::Options& options = {}) : game(options) {}
    void SetUp() override { game.passLoadingFade(); }

    // Goes to the scene at once, as a script would, and lets its loading picture pass.
    void goTo(const char* scene) {
        Session::queueCommand(String("switch_scene ") + scene);
        game.step();
        game.passLoadingFade();
        ASSERT_EQ(game.activeScene(), scene);
    }

    // Clicks the area of that colour with the item in hand ("" for empty hands) and lets what it
    // starts run out: a scene switch, a spoken line, the current character's jobs.
    void use(const char* colour, const char* item = "") {
        Inventory::setSelectedItem(item);
        morvec::Vector2 at =
            Session::activeScene->actionMap->getAreaPosition((uint32_t)std::stoul(colour, nullptr, 16));
        ASSERT_NE(at, morvec::Vector2(0, 0)) << colour;
        game.click(at.x, at.y);
        game.finishTransition();
        waitForCharacters();
    }

    // Until nobody speaks and the current character has nothing left to do (at most 1200 frames: a
    // question and its answer).
    void waitForCharacters() {
        for (int i = 0; i < 1200 && (Speech::isSpeaking() || isCurrentCharacterBusy()); ++i) {
            game.step();
        }
    }

    static bool isCurrentCharacterBusy() {
        Character2D* current = Characters::getCurrentCharacter();
        return current && current->getJobQueueSize() > 0;
    }

    void expectAt(const char* scene, float x, float y) {
        EXPECT_EQ(game.activeScene(), scene);
        Character2D* character = Characters::getCurrentCharacter();
        ASSERT_NE(character, nullptr);
        EXPECT_EQ(character->getPosition(), morvec::Vector3(x, y, 0));
    }

    static bool holds(const char* item) { return Inventory::hasItem(item); }

    GameHarness game;
};
