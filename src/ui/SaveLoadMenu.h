#pragma once
// The saved game on disk and the menu that lists it.
//
// A slot is a folder of the current profile named "slot" + N (manual saves) or "autosave/slot" + K
// (K = 1 to 6, 1 the newest). It holds "info.txt" (the magic line, the scene, the date and the
// play time in minutes: what the menu shows), "game.sav" (the variables that differ from their
// initial values) and up to five copies of the log. A save writes the slot whole into a folder
// beside it, which then takes the slot's place, so that neither a failure nor a crash leaves a slot
// half written or described by another save than the one it holds, and a failed save changes no
// slot. The menu and the loader see slot names only, never the folders beside them.
//
// The menu "ui.SaveLoadMenu" shows six entries a page in one of three modes ("sl_mode": "save",
// "load", "autosave"); on the first page of "save" and "load" the first entry opens the list of
// autosaves. What the engine calls is declared with the interface's services.

#include "engine/InterfaceServices.h"
#include "engine/scene/Scene.h"

#include <map>

namespace nimboui {
class Texture;
}

namespace SaveLoadMenu {

// The slot's folder: user folder + profile + "/" + slot + "/".
String slotFolder(const String& slot);
// Writes the live store into the slot; with returnToGame it first goes back to the game scene the
// menu was opened from, so that the slot names it. A failure asks "SL_SAVE_FAILED" with the reason
// and re-enters the scene; the answer tells whether the slot was written.
bool saveGame(const String& slot, bool returnToGame, bool recordPositions);
// Restores the game from the slot and switches to its scene. A slot that cannot be loaded (its
// scene, current character or a character's scene is not the game's; or a running transition) is
// refused before anything changes: the question "SL_LOAD_FAILED" names the reason and the game
// goes on.
void loadGame(const String& slot);
// Puts every character in the scene and at the position its variables name.
void restoreCharacterPositions();

// A slot's "info.txt" as the menu reads it; every field without one trailing "\r".
struct SlotInfo {
    String scene;
    String date;
    int minutes = 0;
};
// Reads the file; false when it cannot be read or does not begin with the magic line (logged with
// the slot's number).
bool readSlotInfo(const String& path, int number, SlotInfo& info);
// The entry label's text key: the chapter's title, the date and the play time as hh:mm; wide for a
// label exactly 125 units wide.
String slotLabelKey(const SlotInfo& info, bool wide);
// "data/shots/" + scene + ".png"; "" when the scene is no plain scene name.
String thumbnailPath(const SlotInfo& info);

// Removes the slot with its files: a kill on the way never leaves it listed half removed, and
// nothing of it comes back.
void deleteSlot(const String& slot);
// Puts back a game slot that a save cut short left aside, and removes what saves, cut short or
// done, left beside the profile's slots ("slotN.new", "slotN.old", "autosave/new", "autosave/old",
// and the names a folder that could not be removed was moved to). Whoever reads the slots calls it
// first; the deletion of a profile calls it without putBack, so that nothing of it comes back as a
// slot.
void tidySlots(bool putBack = true);

// Tests only: called with a name at every point where a save or a deletion has just written a file
// or is about to move or has moved or swapped a folder; null in the game.
extern void (*testKillPoint)(const String& point);
// Tests only: saves as on a file system that cannot swap two folders in one step.
extern bool testWithoutExchange;

// The page's first slot number minus one: the page index times 6.
extern int pageSlotOffset;
void hideSlotChoices();

// Click handlers of the menu's buttons.
void onCloseClick(nimboui::EventArgs* args);
void onPagePrevClick(nimboui::EventArgs* args);
void onPageNextClick(nimboui::EventArgs* args);
void onAutosaveEntryClick(nimboui::EventArgs* args);
void onSlotClick(nimboui::EventArgs* args);
void onSlotConfirmClick(nimboui::EventArgs* args);
void onDeleteClick(nimboui::EventArgs* args);
void onDeleteConfirmClick(nimboui::EventArgs* args);
void onChoiceCancelClick(nimboui::EventArgs* args);

} // namespace SaveLoadMenu

namespace UserInterface {

class SaveLoadMenu : public Scene {
public:
    using Scene::Scene;
    ~SaveLoadMenu() override;
    static Scene* create(Chapter* chapter);

    // Builds the page: the arrows, the label and the six entries.
    void onEnter() override;
    // Hides the choice panels, clears the entries' pictures and handlers, frees the thumbnails.
    void onLeave() override;

    int pageIndex = 0;
    int pageCount = 1;

private:
    struct SlotThumbnail {
        nimboui::Texture* texture;
        nimboui::Image* image;
    };

    void countPages(const String& folder, bool autosaves);
    void showEntry(int position, const String& folder, const String& mode);
    nimboui::Image* thumbnail(const String& path);
    void freeThumbnails();

    std::map<String, SlotThumbnail> thumbnails;
};

} // namespace UserInterface
