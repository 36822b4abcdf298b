#include "ui/SaveLoadMenu.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "ui/Hud.h"

#include "nimbo/Nimbo.h"
#include "nimboui/Animators.h"
#include "nimboui/Image.h"
#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"
#include "nimboui/Texture.h"
#include "nimboui/nimboui.h"
#include "vessot/File.h"
#include "vessot/Format.h"

#include <algorithm>
#include <ctime>
#include <functional>
#include <set>
#include <vector>

namespace SaveLoadMenu {

void (*testKillPoint)(const String& point) = nullptr;
bool testWithoutExchange = false;
int pageSlotOffset = 0;

namespace {

const char MAGIC[] = "zeph_save_fmt_1.0";
const char SOURCE[] = "src\\ui\\SaveLoadMenu";
const int SLOTS_PER_PAGE = 6;
const int AUTOSAVE_SLOTS = 6;
const int LOG_COPIES = 5;
// Beside the autosaves: "new", the next autosave written whole before it becomes "slot1", and "old",
// the sixth moved out of the list until the new one stands in "slot1".
const char NEW_AUTOSAVE[] = "autosave/new";
const char OLD_AUTOSAVE[] = "autosave/old";
// Beside a game slot "slotN": "slotN.new", its next save written whole before the two swap places,
// and "slotN.old", the slot moved aside where the file system cannot swap two folders in one step.
const char NEW_SIDE[] = ".new";
const char OLD_SIDE[] = ".old";
// Where a folder moves to be removed, followed by a number: "slotN.gone" + K beside game slot N,
// "autosave/gone" + K beside the autosaves.
const char GONE[] = "gone";

void killPoint(const String& point) {
    if (testKillPoint) {
        testKillPoint(point);
    }
}

// The current profile's folder, without a trailing "/".
String profileFolder() {
    return zephUtil::getUserDataPath() + Session::getParam("profile");
}

// A folder of the profile by its name relative to the profile folder, without a trailing "/".
String inProfile(const String& name) {
    return profileFolder() + "/" + name;
}

void setNotificationsIgnored(bool ignored) {
    for (const char* name : {"inv_ignore_notifications", "diary_ignore_notifications"}) {
        Vars::get(name)->setValue(ignored ? "1" : "0", false);
    }
}

// Asks the confirmation question of the request and shows the reason under it.
void askAboutFailure(const String& request, const String& reason) {
    Vars::get("cdialog")->setValue(request, false);
    if (auto* text = dynamic_cast<nimboui::Label*>(Hud::uiObject("cdialog_text"))) {
        text->setText(text->getDisplayedText() + "\n\n" + GameUtil::withoutTagBrackets(reason));
    }
}

// The characters of the characters chapter, in the chapter's object order.
template <class Visit> void forEachCharacter(Visit visit) {
    if (!charactersChapter) {
        return;
    }
    std::vector<nimboui::Object*> objects = charactersChapter->getObjects();
    for (nimboui::Object* object : objects) {
        if (auto* character = dynamic_cast<Character2D*>(object)) {
            visit(character);
        }
    }
}

String localDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128];
    std::strftime(buffer, sizeof buffer, "%m/%d/%Y %H:%M", &local);
    return buffer;
}

bool isNumber(const String& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "slot" followed by 1 to 6 digits.
bool isSlotName(const String& name) {
    return name.startsWith("slot") && name.size() <= 10 && isNumber(name.substr(4));
}

// The prefix followed by a number.
bool isNumbered(const String& name, const String& prefix) {
    return name.startsWith(prefix) && isNumber(name.substr(prefix.size()));
}

// Whether anything (a folder, a file, a link to one) stands under the name in the profile.
bool standsAt(const String& name) {
    return vessot::Dir::exists(inProfile(name)) || vessot::File::exists(inProfile(name));
}

// The first free name that a folder of the profile can move to, to be removed.
String goneName(const String& name) {
    String base =
        name.startsWith("autosave/") ? "autosave/" + String(GONE) : name.substr(0, name.find('.')) + "." + GONE;
    int number = 1;
    while (standsAt(base + String(number))) {
        ++number;
    }
    return base + String(number);
}

// Removes what stands under a name of the profile, with everything in it. It first moves to a free
// name that the tidy removes, so that nothing half removed ever stands under a name that is read,
// and what the player may not remove (a folder another user left) stays there, out of every save's
// way. Answers whether the name is free.
bool discard(const String& name) {
    String gone = name;
    if (standsAt(name)) {
        gone = goneName(name);
        killPoint("before moving " + name + " to " + gone);
        if (vessot::Dir::rename(inProfile(name), inProfile(gone))) {
            killPoint("after moving " + name + " to " + gone);
        } else {
            gone = name;
        }
    }
    vessot::Dir::remove(inProfile(gone));
    return !standsAt(name);
}

// The side folder made afresh (a leftover of a save cut short goes), with the slot's log copies one
// up when it keeps them, the oldest dropped, and the log as the newest copy.
void startSideFolder(const String& slot, const String& side, bool keepsLogCopies) {
    String folder = slotFolder(side);
    if (!discard(side)) {
        throw vessot::exception(side + " could not be removed", SOURCE, __LINE__);
    }
    String reason;
    if (!vessot::Dir::create(inProfile(side), &reason)) {
        throw vessot::exception(slot + ": the folder could not be made (" + reason + ")", SOURCE, __LINE__);
    }
    for (int i = 1; keepsLogCopies && i < LOG_COPIES; ++i) {
        vessot::File::copy(slotFolder(slot) + "game.log." + String(i), folder + "game.log." + String(i + 1), false);
    }
    vessot::File::copy(zephUtil::getUserDataPath() + "game.log", folder + "game.log.1", false);
    killPoint("after copying the log");
}

String infoText() {
    String minutes(Vars::value("gameplay_time").toInt() / 60);
    return String(MAGIC) + "\n" + Vars::value("active_scene") + "\n" + localDate() + "\n" + minutes + "\n";
}

// Where a save goes: the slot its messages name, the side folder it is written into whole, whether
// it keeps the slot's earlier log copies, and how it then takes the slot's place.
struct SaveTarget {
    String slot;
    String side;
    bool keepsLogCopies;
    std::function<void()> place;
};

// Writes the live store whole into the target's side folder, then puts it in the slot's place. A
// failure is logged, removes the side folder and leaves its reason, which names the slot's files;
// nothing is asked here.
bool writeSlot(const SaveTarget& target, bool returnToGame, bool recordPositions, String& reason) {
    GameUtil::logMessage("Saving game in slot: " + target.slot);
    String folder = slotFolder(target.side);
    try {
        if (returnToGame) {
            String scene = Vars::value("sl_prev_scene");
            if (scene.startsWith("ui")) {
                scene = Vars::value("ingame_menu_prev_scene");
            }
            Vars::get("active_scene")->setValue(scene, false);
            Session::switchScene(scene, "", "", 0.0f);
        }
        startSideFolder(target.slot, target.side, target.keepsLogCopies);
        setNotificationsIgnored(true);
        if (recordPositions) {
            recordCharacterPositions();
        }
        // A saved game never holds a pending question.
        if (!Vars::value("cdialog").empty()) {
            Vars::get("cdialog")->setValue("", false);
            Vars::snapshot.get("cdialog")->setValue("", false);
        }
        killPoint("before writing game.sav");
        String failure;
        if (!Vars::saveDiff(folder + "game.sav", &failure)) {
            throw vessot::exception(failure, SOURCE, __LINE__);
        }
        killPoint("after writing game.sav");
        // Last: a folder with its "info.txt" has its "game.sav".
        if (!zephUtil::writePlayerFile(folder + "info.txt", infoText(), &failure)) {
            throw vessot::exception(failure, SOURCE, __LINE__);
        }
        killPoint("after writing info.txt");
        target.place();
        setNotificationsIgnored(false);
        GameUtil::logMessage("Game Successfully saved!");
        return true;
    } catch (const vessot::exception& e) {
        // Named by the slot ("autosave/slot1/game.sav"), never by the player's folders.
        reason = e.message().replaced(folder, target.slot + "/");
        GameUtil::logMessage("SaveGame failed ( " + reason + " ), deleting created folder");
        discard(target.side);
        // Left at "1", every later notification would stay silent.
        setNotificationsIgnored(false);
        return false;
    }
}

// A move of a folder of the profile to a free name, both named relative to the profile folder, and
// what its failure says before the reason.
struct Move {
    String from;
    String to;
    String failure;
};

Move folderMove(const String& from, const String& to) {
    return {from, to, from + " could not be moved to " + to};
}

// The new save, written whole beside the slot, into the slot's place.
Move placement(const String& side, const String& slot) {
    return {side, slot, slot + ": the folder could not be made"};
}

// Makes the moves in order. When one fails, those made are put back, last first, and its failure is
// thrown: every folder stands where it stood.
void moveFolders(const std::vector<Move>& moves) {
    for (size_t made = 0; made < moves.size(); ++made) {
        const Move& move = moves[made];
        killPoint("before moving " + move.from + " to " + move.to);
        String reason;
        if (!vessot::Dir::rename(inProfile(move.from), inProfile(move.to), &reason)) {
            while (made-- > 0) {
                vessot::Dir::rename(inProfile(moves[made].to), inProfile(moves[made].from));
            }
            throw vessot::exception(move.failure + " (" + reason + ")", SOURCE, __LINE__);
        }
        killPoint("after moving " + move.from + " to " + move.to);
    }
}

String autosaveSlot(int number) {
    return "autosave/slot" + String(number);
}

// The new autosave takes the newest one's place: the unbroken run of autosaves from "slot1" moves up
// by one, the sixth out of the list into "old" when all six are there (never removed in place, where
// a kill would leave it half removed), "new" becomes "slot1", and only then "old" goes.
void placeNewAutosave() {
    int free = 1;
    while (free <= AUTOSAVE_SLOTS && vessot::Dir::exists(inProfile(autosaveSlot(free)))) {
        ++free;
    }
    std::vector<Move> moves;
    if (free > AUTOSAVE_SLOTS) {
        moves.push_back(folderMove(autosaveSlot(AUTOSAVE_SLOTS), OLD_AUTOSAVE));
        free = AUTOSAVE_SLOTS;
    }
    for (int k = free; k >= 2; --k) {
        moves.push_back(folderMove(autosaveSlot(k - 1), autosaveSlot(k)));
    }
    moves.push_back(placement(NEW_AUTOSAVE, autosaveSlot(1)));
    moveFolders(moves);
    vessot::Dir::sync(inProfile("autosave"));
    discard(OLD_AUTOSAVE);
}

// The new save, written whole beside the game slot, takes its place: the two swap places in one
// step, so that a kill leaves the one or the other whole under the slot's name; where the file
// system cannot swap, the slot moves aside first. The old one goes once the new one's place is on
// disk.
void placeNewSlot(const String& slot) {
    String side = slot + NEW_SIDE;
    if (!vessot::Dir::exists(inProfile(slot))) {
        moveFolders({placement(side, slot)});
    } else if (!testWithoutExchange && vessot::Dir::exchange(inProfile(side), inProfile(slot))) {
        killPoint("after swapping " + side + " and " + slot);
    } else {
        moveFolders({folderMove(slot, slot + OLD_SIDE), placement(side, slot)});
    }
    vessot::Dir::sync(profileFolder());
    discard(side);
    discard(slot + OLD_SIDE);
}

void showSavedNotice() {
    auto* label = dynamic_cast<nimboui::Label*>(Hud::uiObject("autosaved_label"));
    auto* fader = dynamic_cast<nimboui::Animators::AlphaFader*>(Hud::uiObject("autosaved_label_fader"));
    if (!label || !fader) {
        return;
    }
    label->setAlpha(0.2f);
    label->setTextKey("saved_label");
    fader->fade(0.0f, 3.0f);
}

// Why the saved scene cannot be entered, "" when it can; the reason names the variable that holds it.
String sceneProblem(const String& variable, const String& scene) {
    String named = variable + " '" + scene + "'";
    String chapterName;
    String sceneName;
    if (!scene.split(".", chapterName, sceneName) || chapterName.empty() || sceneName.empty()) {
        return named + " names no chapter and scene";
    }
    auto* chapter = dynamic_cast<Chapter*>(nimboui::getDatasetByName(chapterName));
    if (!chapter) {
        return named + ": there is no chapter '" + chapterName + "'";
    }
    if (!chapter->hasScene(sceneName)) {
        return named + ": chapter '" + chapterName + "' has no scene '" + sceneName + "'";
    }
    return "";
}

// Why the saved values cannot be played, "" when they can: the scene to enter, the player's
// character and the scene each character stands in (a switch to it enters that scene) must be the
// game's. A variable the save does not hold keeps its start-up value.
String valuesProblem(const std::map<String, String>& saved) {
    auto value = [&](const String& name) {
        auto found = saved.find(name);
        return found == saved.end() ? Vars::get(name)->initialValue : found->second;
    };
    String scene = value("active_scene");
    if (scene.empty()) {
        return "names no active_scene";
    }
    String problem = sceneProblem("active_scene", scene);
    String current = value("current_character");
    String notPlayable = Characters::whyNotPlayable(current);
    if (problem.empty() && !notPlayable.empty()) {
        problem = "current_character '" + current + "': " + notPlayable;
    }
    forEachCharacter([&](Character2D* character) {
        auto found = saved.find(character->nimboui::Object::getName() + "_scene");
        if (problem.empty() && found != saved.end() && !found->second.empty()) {
            problem = sceneProblem(found->first, found->second);
        }
    });
    return problem;
}

// Why the slot cannot be loaded, "" when it can. Reads the slot's "game.sav" as loading would and
// changes nothing. The reason names the file by the slot ("slot3/game.sav"), never by the player's
// folders.
String loadProblem(const String& slot) {
    if (Session::activeTransition) {
        return "a scene transition is running";
    }
    String path = slot + "/game.sav";
    String file = slotFolder(slot) + "game.sav";
    if (!vessot::File::exists(file)) {
        return path + " does not exist";
    }
    std::map<String, String> saved;
    try {
        // A later line of the same name wins, as on loading.
        for (const auto& [key, value] : VariableTable::parseDiff(vessot::File::hread(file), path)) {
            saved[key] = value;
        }
    } catch (const vessot::exception& e) {
        return e.message().replaced(file, path);
    }
    String problem = valuesProblem(saved);
    return problem.empty() ? "" : path + ": " + problem;
}

bool allOf(const String& text, const char* allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == String::npos;
}

const char IDENTIFIER[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
const char SCENE_NAME[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.";

// ---------------------------------------------------------------- the menu's helpers

nimboui::Object* menuObject(const String& name) {
    return uiChapter->getObject(name);
}

void bindClick(const String& name, void (*handler)(nimboui::EventArgs*)) {
    menuObject(name)->registerEvent("Click", handler ? nimboui::EventHandler(handler) : nimboui::EventHandler());
}

// The entry a handler serves: the last character of the clicked object's name.
String clickedPosition(nimboui::EventArgs* args) {
    const String& name = args->object->getName();
    return name.substr(name.size() - 1);
}

bool inMode(const char* mode) {
    return Vars::value("sl_mode") == mode;
}

UserInterface::SaveLoadMenu* activeMenu() {
    return dynamic_cast<UserInterface::SaveLoadMenu*>(Session::activeScene);
}

void reenter() {
    Session::activeScene->reset();
}

} // namespace

String slotFolder(const String& slot) {
    return profileFolder() + "/" + slot + "/";
}

// A slot moved aside before its new save took its place is a folder itself; anything else of that
// name (a file, a link, a pipe) is a leftover like the rest. Nothing else beside the slots is the
// game's: it stays.
void tidySlots(bool putBack) {
    for (const String& name : vessot::Dir::contents(profileFolder())) {
        String slot = name.substr(0, name.find('.'));
        String side = name.substr(slot.size());
        if (!isSlotName(slot)) {
            continue;
        }
        if (putBack && side == OLD_SIDE && vessot::Dir::isFolder(inProfile(name)) &&
            !vessot::Dir::exists(inProfile(slot))) {
            // One that cannot be put back stays aside rather than be removed with the leftovers.
            vessot::Dir::rename(inProfile(name), inProfile(slot));
        } else if (side == NEW_SIDE || side == OLD_SIDE) {
            discard(name);
        } else if (isNumbered(side, "." + String(GONE))) {
            vessot::Dir::remove(inProfile(name));
        }
    }
    for (const String& name : vessot::Dir::contents(inProfile("autosave"))) {
        String autosave = "autosave/" + name;
        if (autosave == NEW_AUTOSAVE || autosave == OLD_AUTOSAVE) {
            discard(autosave);
        } else if (isNumbered(name, GONE)) {
            vessot::Dir::remove(inProfile(autosave));
        }
    }
}

// A game slot moved aside beside the card would come back as the card: it goes first, and where it
// cannot, the card stays. The card leaves the list at once; what else stands beside it, the next
// tidy removes.
void deleteSlot(const String& slot) {
    if (slot.startsWith("autosave/") || discard(slot + OLD_SIDE)) {
        discard(slot);
    }
}

// ---------------------------------------------------------------- characters

// A position is recorded only while the character stands in the scene the story has it in: one sent
// to a scene it has not been placed in yet (or never placed at all) records none, so that the scene
// places it when the game is loaded instead of leaving it where it stood elsewhere, or at 0,0.
void recordCharacterPositions() {
    forEachCharacter([](Character2D* character) {
        String name = character->nimboui::Object::getName();
        const String& scene = character->getLastAttachScene();
        if (!scene.empty() && scene == Vars::value(name + "_scene")) {
            character->savePosition();
        } else {
            Variable* position = Vars::get(name + "_pos");
            position->setValue(position->initialValue, true);
        }
    });
}

// A character without a saved position is placed by its scene as on a first visit.
void restoreCharacterPositions() {
    forEachCharacter([](Character2D* character) {
        String name = character->nimboui::Object::getName();
        bool placed = !Vars::value(name + "_pos").empty();
        character->setLastAttachScene(placed ? Vars::value(name + "_scene") : String());
        character->loadPosition();
    });
}

// ---------------------------------------------------------------- saving and loading

bool saveGame(const String& slot, bool returnToGame, bool recordPositions) {
    tidySlots();
    String reason;
    if (writeSlot({slot, slot + NEW_SIDE, true, [&] { placeNewSlot(slot); }}, returnToGame, recordPositions, reason)) {
        return true;
    }
    askAboutFailure("SL_SAVE_FAILED,none,none", reason);
    if (Session::activeScene) {
        Session::activeScene->reset();
    }
    return false;
}

bool autoSave() {
    String chapter = GameUtil::getActiveChapterName();
    if (chapter == "menu" || chapter == "intro" || chapter == "ui") {
        return true;
    }
    // The autosave writes the snapshot (the last quiet moment): it stands in for the live store.
    VariableTable live = Vars::variables;
    Vars::variables = Vars::snapshot;
    Vars::get("last_autosave_time")->setValue(Vars::value("gameplay_time"), false);
    // Nothing moves before the new autosave is written whole, and a failure leaves the others as they
    // were. An autosave holds its own log copy only.
    discard(OLD_AUTOSAVE); // left by an autosave cut short
    String reason;
    bool saved = writeSlot({autosaveSlot(1), NEW_AUTOSAVE, false, placeNewAutosave}, false, false, reason);
    if (saved) {
        showSavedNotice();
    }
    String kept = Vars::value("cdialog");
    Vars::variables = std::move(live);
    if (!Vars::value("cdialog").empty() && kept.empty()) {
        Vars::get("cdialog")->setValue("", true);
    }
    Vars::get("last_autosave_time")->setValue(Vars::value("gameplay_time"), false);
    // Asked in the live store, once the snapshot is out of its place.
    if (!saved) {
        askAboutFailure("SL_SAVE_FAILED,none,none", reason);
    }
    return saved;
}

void loadGame(const String& slot) {
    String problem = loadProblem(slot);
    if (!problem.empty()) {
        GameUtil::logMessage("ERROR! loadGame: " + problem);
        askAboutFailure("SL_LOAD_FAILED,none,none", problem);
        return;
    }
    GameUtil::unloadAllChapters();
    GameUtil::logMessage("Loading game from slot: " + slot);
    String folder = slotFolder(slot);
    Vars::reset();
    Inventory::clear();
    Vars::loadDiff(folder + "game.sav");
    // A saved game holds no pending question; a damaged one's could name any action.
    Vars::get("cdialog")->setValue("", false);
    String scene = Vars::value("active_scene");
    Vars::get("active_scene")->setValue(scene, false);
    Vars::get("prev_scene")->setValue("None", false);
    forEachCharacter([](Character2D* character) { character->clearJobs(); });
    restoreCharacterPositions();
    Session::switchScene(scene, "", "", 0.0f);
    setNotificationsIgnored(false);
    Vars::snapshot = Vars::variables;
    GameUtil::logMessage("Game Successfully loaded!");
}

// ---------------------------------------------------------------- slot descriptions

bool readSlotInfo(const String& path, int number, SlotInfo& info) {
    String text;
    try {
        text = vessot::File::hread(path);
    } catch (const vessot::exception& e) {
        GameUtil::logMessage("Savegame slot " + String(number) + " is unreadable: " + e.message());
        return false;
    }
    String lines[4];
    size_t start = 0;
    for (String& line : lines) {
        if (start > text.size()) {
            break;
        }
        size_t end = std::min(text.find('\n', start), text.size());
        line = text.substr(start, end - start);
        if (line.endsWith("\r")) {
            line.pop_back();
        }
        start = end + 1;
    }
    if (lines[0] != MAGIC) {
        GameUtil::logMessage("Savegame slot " + String(number) +
                             " is invalid. Magic string doesn't match, expecting 'zeph_save_fmt_1.0', got '" +
                             lines[0] + "'");
        return false;
    }
    info.scene = lines[1];
    info.date = lines[2];
    // A damaged or edited file may hold any number; a negative one shows as no play time.
    info.minutes = std::max(lines[3].toInt(), 0);
    return true;
}

String slotLabelKey(const SlotInfo& info, bool wide) {
    String chapter = info.scene.substr(0, info.scene.find('.'));
    if (!allOf(chapter, IDENTIFIER)) {
        chapter = "";
    }
    int hours = info.minutes / 60;
    int minutes = info.minutes - 60 * hours;
    String format = wide ? "{[f:hheaven:0.95][c:640000]%s[/c][/f]\n%s} " : "{[f:hheaven:0.8][c:640000]%s[/c][/f]\n%s} ";
    return format + "CHAPTER_" + chapter + " {" + GameUtil::withoutTagBrackets(info.date) + " (" +
           vessot::jsprintf("%02d:%02d", hours, minutes) + ")}";
}

String thumbnailPath(const SlotInfo& info) {
    if (!allOf(info.scene, SCENE_NAME) || info.scene.contains("..")) {
        return "";
    }
    return "data/shots/" + info.scene + ".png";
}

// ---------------------------------------------------------------- the menu's handlers

void hideSlotChoices() {
    for (int d = 1; d <= SLOTS_PER_PAGE; ++d) {
        menuObject("sl_slot_choice_" + String(d))->setVisible(false);
    }
}

void onCloseClick(nimboui::EventArgs*) {
    Hud::playClick();
    if (inMode("autosave")) {
        Vars::get("sl_mode")->setValue("load", false);
        reenter();
        return;
    }
    String back = Vars::value("sl_prev_scene");
    if (!back.contains("ui.")) {
        Vars::get("active_scene")->setValue(back, false);
    }
    Session::switchScene(back, "fade", "", 0.5f);
}

void onPagePrevClick(nimboui::EventArgs*) {
    Hud::playClick();
    activeMenu()->pageIndex -= 1;
    reenter();
}

void onPageNextClick(nimboui::EventArgs*) {
    Hud::playClick();
    activeMenu()->pageIndex += 1;
    reenter();
}

void onAutosaveEntryClick(nimboui::EventArgs*) {
    Hud::playClick();
    Vars::get("sl_mode")->setValue("autosave", false);
    reenter();
}

void onSlotClick(nimboui::EventArgs* args) {
    Hud::playClick();
    String d = clickedPosition(args);
    hideSlotChoices();
    menuObject("sl_slot_choice_" + d)->setVisible(true);
    bool saving = inMode("save");
    dynamic_cast<nimboui::Label*>(menuObject("sl_slot_choice_label_" + d))
        ->setTextKey(saving ? "sl_choice_overwrite" : "sl_choice_load");
    // Outside "save" a click on the panel's background loads.
    bindClick("sl_slot_choice_bg_" + d, saving ? nullptr : onSlotConfirmClick);
    bindClick("sl_slot_choice_yes_" + d, onSlotConfirmClick);
    bindClick("sl_slot_choice_no_" + d, onChoiceCancelClick);
    bindClick("sl_slot_choice_delete_" + d, onDeleteClick);
    menuObject("sl_slot_choice_delete_" + d)->setVisible(true);
}

void onSlotConfirmClick(nimboui::EventArgs* args) {
    Hud::playClick();
    String number(clickedPosition(args).toInt() + pageSlotOffset);
    if (inMode("save")) {
        saveGame("slot" + number, true, true);
    } else {
        loadGame((inMode("autosave") ? "autosave/slot" : "slot") + number);
    }
}

void onDeleteClick(nimboui::EventArgs* args) {
    Hud::playClick();
    String d = clickedPosition(args);
    dynamic_cast<nimboui::Label*>(menuObject("sl_slot_choice_label_" + d))->setTextKey("sl_choice_delete");
    bindClick("sl_slot_choice_yes_" + d, onDeleteConfirmClick);
    menuObject("sl_slot_choice_delete_" + d)->setVisible(false);
    bindClick("sl_slot_choice_bg_" + d, nullptr);
}

void onDeleteConfirmClick(nimboui::EventArgs* args) {
    Hud::playClick();
    String number(clickedPosition(args).toInt() + pageSlotOffset);
    deleteSlot((inMode("autosave") ? "autosave/slot" : "slot") + number);
    reenter();
}

void onChoiceCancelClick(nimboui::EventArgs*) {
    Hud::playClick();
    hideSlotChoices();
}

} // namespace SaveLoadMenu

// ---------------------------------------------------------------- the menu scene

namespace UserInterface {

using namespace ::SaveLoadMenu;

Scene* SaveLoadMenu::create(Chapter* chapter) {
    return new SaveLoadMenu(chapter, "SaveLoadMenu");
}

SaveLoadMenu::~SaveLoadMenu() {
    freeThumbnails();
}

void SaveLoadMenu::onEnter() {
    bindClick("sl_close", onCloseClick);
    bindClick("sl_page_prev", onPagePrevClick);
    bindClick("sl_page_next", onPageNextClick);
    if (Vars::value("prev_scene") != Vars::value("active_scene")) {
        pageIndex = 0;
    }
    String mode = Vars::value("sl_mode");
    bool autosaves = mode == "autosave";
    String folder = profileFolder() + (autosaves ? "/autosave/" : "/");
    tidySlots();
    countPages(folder, autosaves);
    if (pageIndex >= pageCount) {
        pageIndex = pageCount - 1;
    }
    bool paged = pageCount > 1;
    menuObject("sl_page_prev")->setVisible(paged && pageIndex > 0);
    menuObject("sl_page_next")->setVisible(paged && pageIndex < pageCount - 1);
    auto* label = dynamic_cast<nimboui::Label*>(menuObject("sl_page_label"));
    label->setVisible(paged);
    label->setText(String(pageIndex + 1) + " / " + String(pageCount));
    pageSlotOffset = pageIndex * SLOTS_PER_PAGE;
    for (int d = 1; d <= SLOTS_PER_PAGE; ++d) {
        showEntry(d, folder, mode);
    }
}

void SaveLoadMenu::onLeave() {
    hideSlotChoices();
    for (int d = 1; d <= SLOTS_PER_PAGE; ++d) {
        dynamic_cast<nimboui::ImageBox*>(menuObject("sl_slot" + String(d)))->setImageByName("null");
        bindClick("sl_slot_btn_" + String(d), nullptr);
    }
    freeThumbnails();
}

// The pages the slots of the listing need; an empty last page stays only when the page before it
// is full, to take the next save.
void SaveLoadMenu::countPages(const String& folder, bool autosaves) {
    pageCount = 1;
    if (autosaves) {
        return;
    }
    std::set<int> numbers;
    for (const String& entry : vessot::Dir::contents(folder, true)) {
        String name = vessot::DirBase::basename(entry);
        if (isSlotName(name)) {
            int number = name.substr(4).toInt();
            pageCount = std::max(pageCount, number / SLOTS_PER_PAGE + 1);
            numbers.insert(number);
        }
    }
    auto holds = [&](int base, int from) {
        for (int n = base + from; n <= base + SLOTS_PER_PAGE; ++n) {
            if (!numbers.count(n)) {
                return false;
            }
        }
        return true;
    };
    auto holdsNone = [&](int base) {
        return std::none_of(numbers.begin(), numbers.end(),
                            [&](int n) { return n > base && n <= base + SLOTS_PER_PAGE; });
    };
    if (pageCount > 1) {
        int base = (pageCount - 1) * SLOTS_PER_PAGE;
        // The first page's first entry is the autosave list, not slot 1.
        int previous = base - SLOTS_PER_PAGE;
        if (holdsNone(base) && !holds(previous, previous == 0 ? 2 : 1)) {
            pageCount -= 1;
        }
    }
}

void SaveLoadMenu::showEntry(int position, const String& folder, const String& mode) {
    String d(position);
    auto* info = dynamic_cast<nimboui::Label*>(menuObject("sl_slot" + d + "_info"));
    auto* box = dynamic_cast<nimboui::ImageBox*>(menuObject("sl_slot" + d));
    bool wide = info->getWidth() == 125.0f;
    // An entry that shows nothing keeps no text of an earlier page.
    info->setText("");
    if (position == 1 && pageSlotOffset == 0 && mode != "autosave") {
        info->setTextKey(wide ? "{[f:hheaven:0.95]%s[/f]} autosave_slot" : "{[f:hheaven:0.8]%s[/f]} autosave_slot");
        box->setImage(uiChapter->getImage("gui/autosave_slot"));
        if (mode == "load") {
            bindClick("sl_slot_btn_1", onAutosaveEntryClick);
        }
        return;
    }
    int number = pageSlotOffset + position;
    String path = folder + "slot" + String(number) + "/info.txt";
    if (vessot::File::exists(path)) {
        SlotInfo slot;
        if (!readSlotInfo(path, number, slot)) {
            return;
        }
        bindClick("sl_slot_btn_" + d, onSlotClick);
        info->setTextKey(slotLabelKey(slot, wide));
        nimboui::Image* shot = thumbnail(thumbnailPath(slot));
        box->setImage(shot ? shot : uiChapter->getImage("gui/slot_back"));
        return;
    }
    // An empty slot is saved into at once, without a question.
    if (mode == "save") {
        bindClick("sl_slot_btn_" + d, onSlotConfirmClick);
    }
    box->setImageByName("gui/slot_back");
}

// The picture of the path, made once while the page is shown; null when there is none.
nimboui::Image* SaveLoadMenu::thumbnail(const String& path) {
    if (path.empty()) {
        return nullptr;
    }
    auto cached = thumbnails.find(path);
    if (cached != thumbnails.end()) {
        return cached->second.image;
    }
    if (!vessot::Resource::exists(path, true) || !nimbo::rendersys) {
        return nullptr;
    }
    nimbo::Texture* picture =
        nimbo::rendersys->createTextureFromResource(path, nimbo::Texture::TYPE_MANAGED, /*loadNow=*/true);
    auto* texture = new nimboui::Texture(picture->getFilename(), picture);
    auto* image = new nimboui::Image(texture, "sl/" + path, morvec::Rectangle(0, 0, 128, 128));
    thumbnails[path] = {texture, image};
    return image;
}

void SaveLoadMenu::freeThumbnails() {
    for (auto& [path, shot] : thumbnails) {
        delete shot.image;
        delete shot.texture;
    }
    thumbnails.clear();
}

} // namespace UserInterface
