#include "ui/UserInterface.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/ZephJobs.h"
#include "ui/AchievementsMenu.h"
#include "ui/Cdialog.h"
#include "ui/Hintbook.h"
#include "ui/Hud.h"
#include "ui/InGameMenu.h"
#include "ui/RateMeBox.h"
#include "ui/SaveLoadMenu.h"
#include "ui/SettingsMenu.h"

#include "nimboui/Label.h"

namespace UserInterface {

namespace {

struct SceneClass {
    const char* name;
    Scene* (*create)(Chapter* chapter);
};

// The interface's own scene classes, in the order the chapter registers them; the scene file of
// each name fills its object. Menus not listed here are plain scenes of their files.
const SceneClass SCENE_CLASSES[] = {
    {"Hintbook", Hintbook::create},
    {"QuickTutorial", QuickTutorial::create},
    {"SaveLoadMenu", SaveLoadMenu::create},
    {"SettingsMenu", SettingsMenu::create},
    {"InGameMenu", InGameMenu::create},
    {"HelpMenu", HelpMenu::create},
    {"AchievementsMenu", AchievementsMenu::create},
    {"RateMeBox", RateMeBox::create},
};

// The callbacks the data calls by name, registered after the scenes in this order.
const std::pair<const char*, void (*)(void*)> CALLBACKS[] = {
    {"ApproachCharacter", approachCharacter},
    {"FaceCharacter", faceCharacter},
    {"SwitchCharacter", switchCharacter},
    {"InGameAutoSave", inGameAutoSave},
    {"showRateMeBox", showRateMeBox},
    {"InGameForceAutoSave", inGameForceAutoSave},
    {"InGameQuitGame", inGameQuitGame},
    {"InGameQuitToMenu", inGameQuitToMenu},
    {"InGameShowButtons", inGameShowButtons}, // the no of the question whether to quit unsaved
    {"InGameClearJobsToAll", inGameClearJobsToAll},
};

// The playable characters' distance when one walks up to another: Vorne and Luna keep more room.
constexpr float CLOSE_DISTANCE = 30.0f;
constexpr float VORNE_LUNA_DISTANCE = 50.0f;

// The facing that looks back at a character of each facing.
const std::pair<const char*, const char*> OPPOSITE_FACING[] = {
    {"N", "S"}, {"NE", "SW"}, {"E", "W"}, {"SE", "NW"}, {"S", "N"}, {"SW", "NE"}, {"W", "E"}, {"NW", "SE"},
};

Character2D* character(const String& name) {
    return charactersChapter ? dynamic_cast<Character2D*>(charactersChapter->findObject(name)) : nullptr;
}

// The acting character ("current_character") and the other one ("approach_target").
struct CharacterPair {
    String a, b;
    Character2D* acting = nullptr;
    Character2D* other = nullptr;
};

// The pair of the variables; without characters, with the error logged under the action's name, when
// they are not two different characters.
CharacterPair characterPair(const String& action) {
    CharacterPair pair{Vars::value("current_character"), Vars::value("approach_target")};
    if ((pair.b != "luna" && pair.b != "vorne" && pair.b != "danny") || !character(pair.b)) {
        GameUtil::logMessage("ERROR! " + action + ": $approach_character is invalid: '" + pair.b + "'");
    } else if (pair.a == pair.b) {
        GameUtil::logMessage("ERROR! " + action + ": chr1 == chr2!, this shouldn't happen");
    } else if (!character(pair.a)) {
        GameUtil::logMessage("ERROR! " + action + ": $current_character is invalid: '" + pair.a + "'");
    } else {
        pair.acting = character(pair.a);
        pair.other = character(pair.b);
    }
    return pair;
}

// The game scene behind the interface's own scenes: where the player's character stands, "" when
// no game is in play (a menu opened from the front end).
String gameScene() {
    String variable = Vars::value("current_character") + "_scene";
    return Vars::variables.exists(variable) ? Vars::value(variable) : String();
}

// The autosave of the state of now; false when it could not be written (the failure is asked).
bool forceAutoSave() {
    // The save holds the state of now, not that of the last quiet moment.
    Vars::snapshot = Vars::variables;
    return ::SaveLoadMenu::autoSave();
}

// The autosave of the game being quit; true when it is written or there is no game to save. Asked
// in one of the interface's scenes (the in-game menu), the save names the scene where the player's
// character stands: back there at once, as the autosave refuses the interface's scenes. A menu of
// the front end has no game behind it.
bool autosaveBeforeQuitting() {
    if (GameUtil::getActiveChapterName() == "ui") {
        String scene = gameScene();
        if (scene.empty()) {
            return true;
        }
        Session::switchScene(scene, "", "", 0.0f);
    }
    return forceAutoSave();
}

// Runs the named action of the "ui" chapter that quits once the game is autosaved. When the
// autosave fails, its failure and reason stay on screen and the player is asked whether to quit
// without saving: No (the default of Esc and the other button) goes back to the game, with the HUD's
// buttons when they were on screen as the quit was asked. That question opens while they are only
// starting to slide back, so its own close would leave them out.
void quitAfterAutosave(const String& quitAction) {
    bool buttonsWereShown = Cdialog::hudButtonsWereShown;
    if (autosaveBeforeQuitting()) {
        uiChapter->getNamedAction(quitAction)->execute();
        return;
    }
    auto* text = Hud::uiObjectOf<nimboui::Label>("cdialog_text");
    String failure = text->getDisplayedText();
    String no = buttonsWereShown ? "ui.InGameShowButtons" : "none";
    Vars::get("cdialog")->setValue("QUIT_UNSAVED_DIALOG,ui." + quitAction + "," + no, false);
    text->setText(failure + "\n\n" + text->getDisplayedText());
}

} // namespace

void registerScenes(Chapter* chapter) {
    for (const SceneClass& scene : SCENE_CLASSES) {
        chapter->registerScene(scene.name, scene.create(chapter));
    }
    for (const auto& [name, function] : CALLBACKS) {
        chapter->registerNamedAction(name, new Actions::UserCallback(function, nullptr));
    }
}

void approachCharacter(void*) {
    CharacterPair pair = characterPair("ApproachCharacterAction");
    if (!pair.acting) {
        return;
    }
    GameUtil::logMessage("ApproachCharacterAction: " + pair.a + " approaching " + pair.b);
    morvec::Vector2 from = pair.acting->nimboui::Object::getPosition();
    morvec::Vector2 to = pair.other->nimboui::Object::getPosition();
    // Both on one point: no direction, so the walk goes to the other's point.
    morvec::Vector2 direction = (from - to).normalised();
    bool vorneAndLuna = (pair.a == "vorne" && pair.b == "luna") || (pair.a == "luna" && pair.b == "vorne");
    morvec::Vector2 stop = to + direction * (vorneAndLuna ? VORNE_LUNA_DISTANCE : CLOSE_DISTANCE);
    // Right behind the running job; what was queued after it follows the walk.
    pair.acting->insertJob(1, new ZephJobs::SplineMove("", false, stop.x, stop.y));
}

void faceCharacter(void*) {
    CharacterPair pair = characterPair("FaceCharacterAction");
    if (!pair.acting) {
        return;
    }
    GameUtil::logMessage("FaceCharacterAction: " + pair.b + " facing " + pair.a);
    for (const auto& [facing, opposite] : OPPOSITE_FACING) {
        if (pair.acting->getOrientation() == facing) {
            pair.other->setOrientation(opposite);
        }
    }
}

void switchCharacter(void*) {
    Characters::switchCharacter(Vars::value("switch_character_action_target"));
}

void inGameClearJobsToAll(void*) {
    GameUtil::logMessage("clearing all jobs");
    for (nimboui::Object* object : charactersChapter->getObjects()) {
        if (auto* character = dynamic_cast<Character2D*>(object)) {
            character->clearJobs();
        }
    }
}

void inGameAutoSave(void*) {
    if (GameUtil::getActiveChapterName() == "ui") {
        String previous = Vars::value("ingame_menu_prev_scene");
        // A switch to "" would fail halfway; the autosave below then refuses the "ui" scene.
        if (previous.empty()) {
            GameUtil::logMessage("ERROR! InGameAutoSave: no scene to return to");
        } else {
            Session::switchScene(previous, "", "", 0.0f);
        }
    }
    ::SaveLoadMenu::autoSave();
}

void inGameForceAutoSave(void*) {
    forceAutoSave();
}

void inGameQuitGame(void*) {
    quitAfterAutosave("ingame_end_game");
}

void inGameQuitToMenu(void*) {
    quitAfterAutosave("ingame_end_to_menu");
}

void inGameShowButtons(void*) {
    Hud::showButtons(false);
}

} // namespace UserInterface
