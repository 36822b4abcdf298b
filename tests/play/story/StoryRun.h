#pragma once
// One run of the bundled story through the real game, driven only by a player's inputs: clicks on the
// areas of the scenes' hotspot maps, items taken in hand from the inventory panel, the panel's
// combinations, the menus' and the interface's buttons, keys and typed text.

#include "GameHarness.h"

#include "vessot/String.h"

#include <string>

namespace nimboui {
class Object;
}

class StoryRun {
public:
    // From the logo with an empty user folder.
    static GameHarness::Options fromTheLogo();
    // From the logo with the files of a user folder saved before (a profile and its save slots).
    static GameHarness::Options fromUserFolder(const std::string& folder);

    explicit StoryRun(const GameHarness::Options& options);

    // Clicks the area of that colour in the active scene's hotspot map, with the item taken in hand
    // first through the inventory panel ("" for empty hands), and lets what it starts run out. The
    // charged hint pressed first names that step (or answers hintHere).
    void use(const char* colour, const char* item = "");
    // The middle of the area of that colour in the active scene's hotspot map.
    morvec::Vector2 areaCentre(const char* colour) const;
    // Moves the pointer over the area of that colour; the hover label's text then.
    vessot::String hoverOver(const char* colour);
    // Opens the inventory panel, turns to the item's page and clicks its slot.
    void takeInHand(const char* item);
    // Combines two items in the inventory panel: the first taken in hand, clicked on the second.
    void combine(const char* held, const char* other);
    // Takes the item in hand in the inventory panel and presses the panel's use button.
    void useItem(const char* item);
    // Waits until the hint button is charged, presses it and follows its marker: the marked area is
    // clicked with the item in hand. The area's colour ("" when the hint placed no marker).
    std::string followHint(const char* item = "");
    // Where the hint button shows, presses it charged (the charge then is as it was) and expects the
    // answer the hint string names: a marker on the area of its colour with the item's picture
    // ("00FF00|locator"; an area without an item may show the use cursor's), a line naming the items
    // of "use:item" or "combine:item+item", or for "" nothing at all, the charge staying full.
    void expectHint(const std::string& hint);
    // What the charged hint answers at the steps to come when they are not the ones it names: the way
    // on past the cockpit's things, the galley and the first landing, which no hint leads to, or ""
    // where the hints have nothing to say. Null: each step is the one the hint names.
    const char* hintHere = nullptr;
    // A click on the middle of a menu scene's object or of an interface object, and what it starts.
    void pressMenu(const char* name);
    void pressInterface(const char* name);
    // A key pressed and released, then what it starts.
    void press(int key);
    // Until nobody speaks and the current character has nothing left to do, or a reply menu shows (at
    // most 20 s of play); spoken lines are skipped with Space as a player would.
    void waitForCharacters();
    // Chooses the replies of the conversation's reply menus by their numbers ("21": the second, then
    // the first of the next menu), each when its menu shows.
    void answer(const std::string& replies);
    // The scene switch and loading picture under way, run out.
    void settle();

    // Saves into the save menu's slot through the in-game menu (slot 1 is the autosaves' entry, 2 to 6
    // the first page's, 7 on the next page's); loads it from the open load menu.
    void saveToSlot(int slot);
    void loadFromSlot(int slot);
    // Whether the current profile holds a whole autosave.
    static bool hasAutosave();
    // Copies the whole user folder to the path (made anew).
    void copyUserFolder(const std::string& to) const;

    static bool holds(const char* item);
    vessot::String var(const char* name) const { return game.var(name); }
    vessot::String scene() const { return game.activeScene(); }
    // The game log's lines that tell of a missing image, sound, text, scene or data set.
    std::string missingResources() const;

    GameHarness game;

private:
    // The colour of the area under the hint's marker.
    static std::string markedArea();
    // Walks along a wide scene until the scene's x is on the screen.
    void bringIntoView(float x);
    void waitForCamera();
    // Turns the open inventory panel to the page.
    void turnToPage(int page);
    // Turns the open save or load menu to the slot's page; the name of an object of the slot there.
    void showSlot(int slot);
    static std::string slotButton(const char* name, int slot);
};
