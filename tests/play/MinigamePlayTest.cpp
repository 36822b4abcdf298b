// Whole-game runs of the five minigames of the bundled chapters: each entered from its hotspot and
// played to its end with presses, moves and releases at scene points, the way a player would solve
// it from what the scene shows; the success command sets its variable and leaves the scene.
#include "GameHarness.h"

#include "engine/session/Session.h"
#include "minigames/DominoScene.h"
#include "minigames/JigsawScene.h"
#include "minigames/Match2Scene.h"
#include "minigames/RotatorScene.h"
#include "minigames/SequenceScene.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/Hud.h"
#include "ui/InventoryPanel.h"

#include "nimbo/Keys.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using nimboui::RotatableImageBox;

class MinigamePlay : public ::testing::Test {
protected:
    void SetUp() override { game.passLoadingFade(); }

    // Goes to the scene at once, as a script would, and lets its loading picture pass.
    void goTo(const char* scene) {
        Session::queueCommand(String("switch_scene ") + scene);
        game.step();
        game.passLoadingFade();
        ASSERT_EQ(game.activeScene(), scene);
    }

    // Clicks the hotspot and waits for the fade into the minigame.
    template <class T> T* enterFrom(float x, float y, const char* minigame) {
        hotspot = morvec::Vector2(x, y);
        game.click(x, y);
        game.finishTransition();
        EXPECT_EQ(game.activeScene(), minigame);
        return dynamic_cast<T*>(Session::activeScene);
    }

    // The success command's variable is set and the fade leads back to the scene of the hotspot,
    // where a line tells what the puzzle did; clicked again, the hotspot only says a line.
    void expectLeftTo(const char* variable, const char* scene, float seconds) {
        for (int i = 0; i < (int)(seconds * 60) && game.var(variable) != "1"; ++i) {
            game.step();
        }
        EXPECT_EQ(game.var(variable), "1");
        game.finishTransition();
        EXPECT_EQ(game.activeScene(), scene);
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(Speech::isSpeaking());
            game.stepSeconds(8.0f);
            game.click(hotspot.x, hotspot.y);
            game.finishTransition();
            EXPECT_EQ(game.activeScene(), scene);
        }
    }

    morvec::Vector2 hotspot;

    GameHarness game;
};

TEST_F(MinigamePlay, TheDialLockInTheCockpit) {
    auto* dial = enterFrom<RotatorScene>(342, 166, "ship.DialLock");
    ASSERT_NE(dial, nullptr);
    game.stepSeconds(1.5f);
    // A point on each ring's band, right of the common centre (213, 160).
    const float bandX[] = {297, 265, 231};
    // The secondary button turns a ring the other way.
    float start = dial->getRings()[0]->getDestAngle();
    game.press(bandX[0], 160, nimbo::BUTTON_SECONDARY);
    game.release(bandX[0], 160, nimbo::BUTTON_SECONDARY);
    EXPECT_EQ(dial->getRings()[0]->getDestAngle(), start + 45);
    game.stepSeconds(0.2f);
    for (size_t i = 0; i < dial->getRings().size(); ++i) {
        RotatorRing* ring = dial->getRings()[i];
        for (int clicks = 0; !RotatableImageBox::angleEquals(ring->getDestAngle(), 0); ++clicks) {
            ASSERT_LT(clicks, 8);
            game.click(bandX[i], 160);
            game.stepSeconds(0.2f);
        }
    }
    expectLeftTo("dial_solved", "ship.Cockpit", 0.5f);
}

TEST_F(MinigamePlay, TheGearLockInTheGalley) {
    goTo("ship.Galley");
    auto* lock = enterFrom<DominoScene>(142, 58, "ship.GearLock");
    ASSERT_NE(lock, nullptr);
    game.stepSeconds(1.5f);
    // Each gear turns only the next one: set them right from the first to the last.
    for (DominoElement* gear : lock->getTiles()) {
        for (int clicks = 0; !RotatableImageBox::angleEquals(gear->getDestAngle(), gear->getTargetAngle()); ++clicks) {
            ASSERT_LT(clicks, 4);
            game.click(gear->getX() + 32, gear->getY() + 32);
            game.stepSeconds(0.3f);
        }
    }
    expectLeftTo("gearlock_solved", "ship.Galley", 2.5f);
}

TEST_F(MinigamePlay, AnUnsolvedOneIsLeftThroughTheInGameMenu) {
    const struct {
        const char* room;
        const char* minigame;
        morvec::Vector2 hotspot;
        const char* gearLockSolved; // the gear lock unbolts the lamp panel
        bool resume;                // else Esc closes the menu, back into the minigame
    } cases[] = {{"ship.Galley", "ship.GearLock", {142, 58}, "0", true},
                 {"ship.Galley", "ship.LampPanel", {251, 58}, "1", true},
                 {"ship.Cockpit", "ship.DialLock", {342, 166}, "1", true},
                 {"jama_spacea.Landing", "jama_spacea.ShipPicture", {78, 92}, "1", true},
                 {"jama_spacea.Landing", "jama_spacea.TileTablet", {336, 156}, "1", true},
                 {"jama_spacea.Landing", "jama_spacea.TileTablet", {336, 156}, "1", false}};
    for (const auto& c : cases) {
        game.setVar("gearlock_solved", c.gearLockSolved);
        if (game.activeScene() == c.room) {
            Session::activeScene->reset();
        } else {
            goTo(c.room);
        }
        ASSERT_NE(enterFrom<MinigameScene>(c.hotspot.x, c.hotspot.y, c.minigame), nullptr);
        game.key(nimbo::KEY_ESCAPE);
        game.finishTransition();
        if (c.resume) {
            morvec::Vector2 resume = GameHarness::centreOf(Hud::uiObject("ingame_resume"));
            game.clickGui(resume.x, resume.y);
        } else {
            game.key(nimbo::KEY_ESCAPE);
        }
        game.finishTransition();
        EXPECT_EQ(game.activeScene(), c.resume ? c.room : c.minigame) << c.minigame;
    }
}

TEST_F(MinigamePlay, TheRightButtonTurnsNothingWhereItAnswersOrTheGameIsPaused) {
    const struct {
        const char* from;
        morvec::Vector2 hotspot;
        const char* minigame;
    } picture{"jama_spacea.Landing", {78, 92}, "jama_spacea.ShipPicture"},
        dial{"ship.Cockpit", {342, 166}, "ship.DialLock"};
    const struct {
        decltype(picture) place;
        // What the button answers first, or the pause overlay, given the point it is pressed at.
        std::function<void(morvec::Vector2)> takeButton;
    } cases[] = {
        {picture, [&](auto) { game.setVar("cdialog", "INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none"); }},
        {dial, [](auto) { Inventory::setSelectedItem("fuse"); }},
        {dial, [](auto) { InventoryPanel::lookMode = true; }}, // left armed as the panel closed
        {picture, [](auto) { Speech::say("{ vorne }Hm.<p5>"); }},
        {dial, [&](auto) { game.key(80); }},
        // A HUD button over the piece, the minigame showing the HUD.
        {picture,
         [&](morvec::Vector2 at) {
             Session::activeScene->properties["hide_ui"] = "";
             Hud::applyHideUi();
             nimboui::Object* button = game.uiObject("hint_button");
             button->setPosition(button->getPosition() + at - GameHarness::centreOf(button));
         }},
    };
    for (const auto& c : cases) {
        goTo(c.place.from);
        enterFrom<MinigameScene>(c.place.hotspot.x, c.place.hotspot.y, c.place.minigame);
        game.stepSeconds(1.5f);
        // The top piece of the picture under its middle, or the dial's outer ring under its band.
        auto* jigsaw = dynamic_cast<JigsawScene*>(Session::activeScene);
        RotatableImageBox* piece = jigsaw ? (RotatableImageBox*)jigsaw->getPieces().back()
                                          : dynamic_cast<RotatorScene*>(Session::activeScene)->getRings()[0];
        morvec::Vector2 at = jigsaw ? piece->getPosition() + piece->getSize() * 0.5f : morvec::Vector2(297, 160);
        auto shown = [&] { return std::pair(piece->getDestAngle(), piece->getPosition()); };
        auto before = shown();
        c.takeButton(at);
        game.press(at.x, at.y, nimbo::BUTTON_SECONDARY);
        game.release(at.x, at.y, nimbo::BUTTON_SECONDARY);
        game.move(at.x + 40, at.y + 30); // a piece picked up would follow
        game.step();
        EXPECT_EQ(shown(), before) << c.place.minigame << " " << (&c - cases);
        EXPECT_EQ(game.var("cdialog"), "") << c.place.minigame;
        if (Hud::isResumePanelVisible()) {
            game.key(80);
        }
    }
}

TEST_F(MinigamePlay, TheLampPanelInTheGalley) {
    game.setVar("gearlock_solved", "1"); // the gear lock unbolts it
    goTo("ship.Galley");
    ASSERT_NE(enterFrom<SequenceScene>(251, 58, "ship.LampPanel"), nullptr);
    game.stepSeconds(1.2f);
    // The lamps stand in the order 3, 1, 4, 2 and are pressed by their numbers.
    for (float x : {159.0f, 339.0f, 69.0f, 249.0f}) {
        game.click(x, 160);
    }
    expectLeftTo("lamps_solved", "ship.Galley", 0.5f);
}

TEST_F(MinigamePlay, TheShipPictureAtTheLandingSite) {
    goTo("jama_spacea.Landing");
    auto* jigsaw = enterFrom<JigsawScene>(78, 92, "jama_spacea.ShipPicture");
    ASSERT_NE(jigsaw, nullptr);
    // A press takes the last loose piece in file order under the point: lay them from the last.
    std::vector<JigsawElement*> pieces = jigsaw->getPieces();
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        JigsawElement* piece = *it;
        morvec::Vector2 middle = piece->getPosition() + piece->getSize() * 0.5f;
        for (int clicks = 0; !RotatableImageBox::angleEquals(piece->getDestAngle(), 0); ++clicks) {
            ASSERT_LT(clicks, 8);
            game.click(middle.x, middle.y);
            game.stepSeconds(0.15f);
        }
        morvec::Vector2 target = middle + (piece->getPlace() - piece->getPosition());
        game.press(middle.x, middle.y);
        game.move((middle.x + target.x) / 2, (middle.y + target.y) / 2);
        game.move(target.x, target.y);
        game.release(target.x, target.y);
        EXPECT_TRUE(piece->isPlaced()) << piece->getName();
    }
    expectLeftTo("picture_solved", "jama_spacea.Landing", 0.5f);
}

TEST_F(MinigamePlay, TheTileTabletAtTheLandingSite) {
    goTo("jama_spacea.Landing");
    auto* tablet = enterFrom<Match2Scene>(336, 156, "jama_spacea.TileTablet");
    ASSERT_NE(tablet, nullptr);
    const std::vector<Match2Element*>& tiles = tablet->getTiles();
    auto cellOf = [](const morvec::Vector2& p) {
        return std::pair{(int)std::lround((p.y - 63) / 65), (int)std::lround((p.x - 116) / 65)};
    };
    auto tileAt = [&](int row, int column) {
        for (Match2Element* tile : tiles) {
            if (cellOf(tile->getPosition()) == std::pair{row, column}) {
                return tile;
            }
        }
        return (Match2Element*)nullptr;
    };
    auto swap = [&](Match2Element* tile, int row, int column) {
        Match2Element* other = tileAt(row, column);
        game.click(tile->getX() + 32, tile->getY() + 32);
        game.click(other->getX() + 32, other->getY() + 32);
        game.stepSeconds(0.5f);
    };
    // Cell by cell in reading order: the tile that belongs there slides along its row to the
    // column, then up; neither way passes a cell already done.
    for (int index = 0; index < 9; ++index) {
        Match2Element* tile = tiles[index];
        auto [row, column] = std::pair{index / 3, index % 3};
        for (auto at = cellOf(tile->getPosition()); at.second != column; at = cellOf(tile->getPosition())) {
            swap(tile, at.first, at.second + (column > at.second ? 1 : -1));
        }
        for (auto at = cellOf(tile->getPosition()); at.first != row; at = cellOf(tile->getPosition())) {
            swap(tile, at.first - 1, at.second);
        }
        EXPECT_TRUE(tile->isHome()) << tile->getName();
    }
    expectLeftTo("tablet_solved", "jama_spacea.Landing", 2.5f);
}

} // namespace
