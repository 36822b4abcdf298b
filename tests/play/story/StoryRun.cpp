#include "StoryRun.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"
#include "engine/view/Viewport.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/DialogPanel.h"
#include "ui/Hints.h"
#include "ui/Hud.h"
#include "ui/InventoryPanel.h"
#include "ui/Menu.h"

#include "nimbo/Keys.h"
#include "nimboui/Image.h"
#include "nimboui/Object.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// Lines of the log that tell of something the data names and the game could not find.
const char* const MISSING[] = {"not found",      "does not exist",   "is missing",
                               "no such",        "Unable to load",   "Unable to find",
                               "Unable to open", "Unable to decode", "Unable to play"};

// The save and load menu's slots a page.
const int SLOTS_PER_PAGE = 6;

bool isCurrentCharacterBusy() {
    Character2D* current = Characters::getCurrentCharacter();
    return current && current->getJobQueueSize() > 0;
}

} // namespace

GameHarness::Options StoryRun::fromTheLogo() {
    GameHarness::Options options;
    options.scene = "menu.Logo";
    // A longer step keeps the whole path quick; the game's rules hold at any step.
    options.environment.push_back({"ZEPH_FIXED_STEP", "0.05"});
    return options;
}

GameHarness::Options StoryRun::fromUserFolder(const std::string& folder) {
    GameHarness::Options options = fromTheLogo();
    options.scene = "";
    options.userFiles = folder;
    return options;
}

StoryRun::StoryRun(const GameHarness::Options& options) : game(options) {
    game.passLoadingFade();
}

morvec::Vector2 StoryRun::areaCentre(const char* colour) const {
    const ActionMap& map = *Session::activeScene->actionMap;
    uint32_t id = (uint32_t)std::stoul(colour, nullptr, 16);
    morvec::Vector2 at = map.getAreaPosition(id);
    // The map's point of an area that surrounds another (an oven round its window) may lie on the
    // inner one's edge; a player clicks well inside the area, so the nearest such point is taken.
    auto inside = [&](int x, int y) {
        return map.getAreaAt(x, y) == id && map.getAreaAt(x - 2, y) == id && map.getAreaAt(x + 2, y) == id &&
               map.getAreaAt(x, y - 2) == id && map.getAreaAt(x, y + 2) == id;
    };
    int x0 = (int)at.x, y0 = (int)at.y;
    for (int r = 0; r < 60; ++r) {
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) == r && inside(x0 + dx, y0 + dy)) {
                    return morvec::Vector2((float)(x0 + dx), (float)(y0 + dy));
                }
            }
        }
    }
    return at;
}

void StoryRun::bringIntoView(float x) {
    // The character walks towards the screen's edge on the floor it stands on; the camera follows.
    for (int walks = 0; walks < 6 && (x < cameraOffsetX + 8 || x > cameraOffsetX + 418); ++walks) {
        Character2D* current = Characters::getCurrentCharacter();
        ASSERT_NE(current, nullptr);
        game.click(x < cameraOffsetX ? cameraOffsetX + 20 : cameraOffsetX + 406, current->getPosition().y);
        waitForCharacters();
    }
    waitForCamera();
}

void StoryRun::waitForCamera() {
    // A click while the camera still moves only walks.
    for (int i = 0; i < 200 && Viewport::isCameraScrolling(); ++i) {
        game.step();
    }
}

void StoryRun::use(const char* colour, const char* item) {
    expectHint(hintHere ? hintHere : std::string(colour) + (*item ? "|" : "") + item);
    morvec::Vector2 at = areaCentre(colour);
    ASSERT_NE(at, morvec::Vector2(0, 0)) << colour << " in " << scene();
    bringIntoView(at.x);
    if (*item) {
        takeInHand(item);
        // Carried out of the panel (right of it on the screen), the item closes it.
        game.move(cameraOffsetX + 370, 160);
        game.stepSeconds(0.3f);
        ASSERT_EQ(var("inv_open"), "0");
        game.move(at.x, at.y);
        ASSERT_EQ(Inventory::getSelectedItem(), item);
    }
    // The pointer comes to rest over the area before the click, as a hand on the mouse does.
    game.move(at.x, at.y);
    game.step();
    game.click(at.x, at.y);
    settle();
    waitForCharacters();
    settle();
}

vessot::String StoryRun::hoverOver(const char* colour) {
    morvec::Vector2 at = areaCentre(colour);
    game.move(at.x, at.y);
    game.stepSeconds(0.2f);
    return Hud::rolloverText;
}

void StoryRun::takeInHand(const char* item) {
    int index = Inventory::items.indexOf(item);
    ASSERT_GE(index, 0) << item << " is not held";
    pressInterface("inv_button");
    game.stepSeconds(0.3f);
    ASSERT_EQ(var("inv_open"), "1");
    turnToPage(index / InventoryPanel::PAGE_SIZE);
    pressInterface(("inv_slot" + std::to_string(index % InventoryPanel::PAGE_SIZE)).c_str());
    ASSERT_EQ(Inventory::getSelectedItem(), item);
}

void StoryRun::turnToPage(int page) {
    for (int turns = 0; turns < 8 && InventoryPanel::page != page; ++turns) {
        pressInterface(InventoryPanel::page < page ? "inv_pages_right" : "inv_pages_left");
    }
    ASSERT_EQ(InventoryPanel::page, page);
}

void StoryRun::combine(const char* held, const char* other) {
    expectHint(hintHere ? hintHere : std::string("combine:") + held + "+" + other);
    takeInHand(held);
    int index = Inventory::items.indexOf(other);
    ASSERT_GE(index, 0) << other << " is not held";
    // The item in hand is carried over to the other's page.
    turnToPage(index / InventoryPanel::PAGE_SIZE);
    ASSERT_EQ(Inventory::getSelectedItem(), held);
    pressInterface(("inv_slot" + std::to_string(index % InventoryPanel::PAGE_SIZE)).c_str());
    game.stepSeconds(0.3f);
    waitForCharacters();
}

void StoryRun::useItem(const char* item) {
    expectHint(hintHere ? hintHere : std::string("use:") + item);
    takeInHand(item);
    pressInterface("inv_use_button");
    // The panel closes first; what the item's use starts follows.
    game.stepSeconds(1.0f);
    settle();
    waitForCharacters();
    settle();
}

std::string StoryRun::followHint(const char* item) {
    // The charge fills over two minutes of play.
    for (int i = 0; i < 3000 && var("_hint_timer").toFloat() < 1.0f; ++i) {
        game.step();
    }
    Hints::marker.time = 0.0f;
    press(nimbo::KEY_ENTER);
    if (Hints::marker.time <= 0.0f) {
        return "";
    }
    std::string colour = markedArea();
    use(colour.c_str(), item);
    return colour;
}

std::string StoryRun::markedArea() {
    morvec::Vector2 at = Hints::marker.position;
    char colour[8];
    std::snprintf(colour, sizeof colour, "%06X", Session::activeScene->actionMap->getAreaAt((int)at.x, (int)at.y));
    return colour;
}

void StoryRun::expectHint(const std::string& hint) {
    if (Session::activeScene->getProperty("hide_ui") == "1") {
        return; // no hint button
    }
    vessot::String charge = var("_hint_timer");
    game.setVar("_hint_timer", "1");
    Hints::marker.time = 0.0f;
    press(nimbo::KEY_ENTER);
    std::string answer;
    if (Hints::marker.time > 0.0f) {
        std::string picture = Hints::marker.image->getName();
        answer = markedArea() + (picture.rfind("items/", 0) == 0 ? "|" + picture.substr(6) : "");
    } else if (Speech::isSpeaking()) {
        answer = "said: " + Speech::speechMap[var("current_character")].front().text;
        waitForCharacters();
    }
    bool full = var("_hint_timer").toFloat() >= 1.0f;
    game.setVar("_hint_timer", charge);
    vessot::String form, items;
    if (hint.empty()) {
        EXPECT_TRUE(answer.empty() && full) << "in " << scene() << ": " << answer;
        return;
    }
    if (vessot::String(hint).split(":", form, items)) {
        for (const vessot::String& item : items.split("+")) {
            EXPECT_NE(answer.find(uiChapter->getText("obj_" + item)), std::string::npos)
                << hint << " in " << scene() << ": " << answer;
        }
    } else if (answer != hint + "|cursor_use") {
        EXPECT_EQ(answer, hint) << "in " << scene();
    }
}

void StoryRun::pressMenu(const char* name) {
    nimboui::Object* object = Menu::objectOf(name);
    ASSERT_NE(object, nullptr) << name;
    morvec::Vector2 at = GameHarness::centreOf(object);
    game.click(at.x, at.y);
    settle();
}

void StoryRun::pressInterface(const char* name) {
    nimboui::Object* object = game.uiObject(name);
    ASSERT_NE(object, nullptr) << name;
    morvec::Vector2 at = GameHarness::centreOf(object);
    game.clickGui(at.x, at.y);
    settle();
}

void StoryRun::press(int key) {
    game.key(key);
    settle();
}

void StoryRun::waitForCharacters() {
    for (int i = 0; i < 400; ++i) {
        if (DialogPanel::isOpen()) {
            if (DialogPanel::areRepliesShown()) {
                return;
            }
            game.key(nimbo::KEY_SPACE);
        } else if (Speech::isSpeaking()) {
            game.key(nimbo::KEY_SPACE);
        } else if (isCurrentCharacterBusy()) {
            game.step();
        } else {
            return;
        }
    }
}

void StoryRun::answer(const std::string& replies) {
    for (char reply : replies) {
        ASSERT_TRUE(DialogPanel::areRepliesShown()) << "no replies to choose " << reply << " from";
        game.key(reply);
        waitForCharacters();
    }
}

void StoryRun::settle() {
    game.finishTransition();
    game.passLoadingFade();
    // A wide scene's camera sets out towards the character in the first frames after the switch, and
    // a switch that a character's last job queued begins in them.
    game.step(2);
    if (Session::activeTransition) {
        settle();
        return;
    }
    waitForCamera();
}

void StoryRun::showSlot(int slot) {
    ASSERT_EQ(scene(), "ui.SaveLoadMenu");
    for (int page = 0; page < (slot - 1) / SLOTS_PER_PAGE; ++page) {
        pressInterface("sl_page_next");
    }
}

std::string StoryRun::slotButton(const char* name, int slot) {
    return name + std::to_string((slot - 1) % SLOTS_PER_PAGE + 1);
}

void StoryRun::saveToSlot(int slot) {
    press(nimbo::KEY_ESCAPE);
    pressInterface("ingame_save");
    showSlot(slot);
    pressInterface(slotButton("sl_slot_btn_", slot).c_str());
    // An empty slot is saved into at once; a used one asks first.
    if (scene() == "ui.SaveLoadMenu") {
        pressInterface(slotButton("sl_slot_choice_yes_", slot).c_str());
    }
    EXPECT_NE(scene(), "ui.SaveLoadMenu");
}

void StoryRun::loadFromSlot(int slot) {
    showSlot(slot);
    pressInterface(slotButton("sl_slot_btn_", slot).c_str());
    pressInterface(slotButton("sl_slot_choice_yes_", slot).c_str());
}

bool StoryRun::hasAutosave() {
    std::string folder = zephUtil::getUserDataPath() + Session::getParam("profile") + "/autosave";
    if (!std::filesystem::is_directory(folder)) {
        return false;
    }
    for (const auto& slot : std::filesystem::directory_iterator(folder)) {
        if (std::filesystem::exists(slot.path() / "info.txt")) {
            return true;
        }
    }
    return false;
}

void StoryRun::copyUserFolder(const std::string& to) const {
    std::filesystem::remove_all(to);
    std::filesystem::create_directories(to);
    std::filesystem::copy(game.userFolder(), to, std::filesystem::copy_options::recursive);
}

bool StoryRun::holds(const char* item) {
    return Inventory::hasItem(item);
}

std::string StoryRun::missingResources() const {
    std::istringstream log(game.log());
    std::string found;
    for (std::string line; std::getline(log, line);) {
        for (const char* sign : MISSING) {
            if (line.find(sign) != std::string::npos) {
                found += line + "\n";
                break;
            }
        }
    }
    return found;
}
