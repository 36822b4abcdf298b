#pragma once
// What the engine and the scripting layer ask of the game's interface (src/ui): the HUD, its panels
// and menus. The engine reaches the interface only through these declarations; src/ui defines them
// and declares the rest of each panel in its own header.

#include "morvec/Vector.h"
#include "vessot/String.h"

#include <vector>

using vessot::String;

class Action;
class Chapter;
class DialogEntry;
class DialogReply;
class Variable;

namespace Actions {
class Multiple;
}

namespace nimboui {
class Image;
class Object;
struct EventArgs;
} // namespace nimboui

namespace Hud {

// Finished tasks (1.0) and added tasks (-1.0) waiting to be shown by the diary button; the first
// counts toward 0 while it shows.
extern std::vector<float> taskNotifications;
// The hover label shows while this is above 0, at the alpha min(timer, 1).
extern float rolloverTimer;

// The object of the "ui" chapter, or null (also before the chapter is loaded).
nimboui::Object* uiObject(const String& name);
// Whether the "ui" object is visible with an alpha above 0.
bool isUiObjectShown(const String& name);

// The whole draw of one frame: the scene (or the running transition), the HUD, the loading picture.
void drawFrame();
// false: the scene's projection, with letterbox, pan and zoom; true: the HUD's.
void setProjection(bool hud);
// Lays out the aspect-ratio chooser when the parameter "aspect" changed.
void updateAspectChooser();

// Carries out a click on a hotspot bound to the action (null does nothing).
void performAction(Action* action);
// Every scene switch, before the old scene is left.
void onSceneSwitch(const String& fullSceneName);
// After every scene switch: the wide-scene camera and the HUD buttons by the scene's "hide_ui".
void applyHideUi();
// Slides the HUD buttons back onto the screen (instant: at once, at the set-up).
void showButtons(bool instant);
// Slides them out of the way of a panel; the inventory button only when asked.
void hideButtons(bool alsoInventoryButton);
// Puts the HUD buttons at once where the window's new shape puts them, shown or hidden as they were.
void placeButtonsForWindow();
void onSceneLocked();
void onSceneUnlocked();
bool isResumePanelVisible();
void showResumePanel(bool show);
void toggleResumePanel();
// Shows the hover label with the text ("" changes nothing; " " shows an empty label).
void setRollover(const String& text);
// Lowers the hover label's timer by 3 x step, not below 0.
void fadeRollover(float step);
// Lays a hotspot-map overlay over every other playable character the scene shows.
void updateCharacterOverlays();
void updateDiaryButton(float step);
// Keeps a scene point within the visible strip of a wide scene (outside wide scenes it is left
// alone); when an image is given and the point had to move, the image becomes the arrow pointing
// toward where the point lies.
morvec::Vector2 clampArrowToView(nimboui::Image** image, const morvec::Vector2& point);
// A step sound every 40 units the current character walks, while "footstep_sounds" is "1".
void playFootsteps(float step);

// Click handlers of the HUD buttons (null arguments when a key stands for the click).
void onFfwdButtonClick(nimboui::EventArgs* args);
void onDiaryButtonClick(nimboui::EventArgs* args);
void onHintButton(nimboui::EventArgs* args);
void showHint(nimboui::EventArgs* args);
void onSkip(nimboui::EventArgs* args);
void openInGameMenu(nimboui::EventArgs* args);
void onResumeClick(nimboui::EventArgs* args);
void onQuitToMenuClick(nimboui::EventArgs* args);
void onQuitGameClick(nimboui::EventArgs* args);

} // namespace Hud

// The confirmation dialog, driven by the variable "cdialog": "text key,yes action,no action" asks a
// question, "achievement," + id + ",1" shows an achievement, "" closes it.
namespace Cdialog {

// 1 answers yes, 2 no: empties "cdialog" (live and snapshot) and runs the chosen named action.
void answer(int choice);
// The listener of the live "cdialog": opens, refills or closes the box.
void onVarChanged(Variable* variable, const String& newValue, const String& oldValue);
// The click handler of both confirmation buttons.
void onButtonClick(nimboui::EventArgs* args);

} // namespace Cdialog

// The conversation panel ("dialog") and its reply menu.
namespace DialogPanel {

// The reply highlighted by the keyboard or pointer; -1 for none.
extern int highlightedReply;
// While positive, the reply panel shakes.
extern float shakeTimer;

bool isOpen();
bool areRepliesShown();
// Hides the panel, brings the HUD buttons back and drops the lines being spoken and the replies.
void close();
// Advances the current dialog node and the replies' shake.
void update(float step);
void registerEvents();
// Skips the line being spoken and advances the current dialog node by what it skipped.
void skipSpeechLine();
void handleReplyKey(int key);
void resetReplyColours();
// Lists a menu's available replies for the player's choice.
void showReplies(const std::vector<DialogReply*>& replies);
// Speaks a dialog line; answers the seconds it stays.
float sayLine(DialogEntry* entry);

} // namespace DialogPanel

// The hint button's charge and the hint arrow's timer.
namespace Hints {

// A hint's pointer at a scene point, or (without an image) the marks on every hotspot.
struct Marker {
    morvec::Vector2 position;
    nimboui::Image* image = nullptr;
    // Seconds left; 5 when placed.
    float time = 0.0f;
};
extern Marker marker;
// The plain hint button's refill, from 0 to 1.
extern float buttonCooldown;

void updateHintButton(float step);
// Shows the hint for where the story stands; false when there is none.
bool showCurrentHint();

} // namespace Hints

// The inventory panel ("inv" in the "ui" chapter).
namespace InventoryPanel {

// The look or use mode armed by the panel's buttons.
extern bool lookMode;
extern bool useMode;

void notifyItemAdded(const String& item);
void refresh();
void updateHoverImages(const String& item);
// Shows that no item is in hand.
void updatePushedImages();
void registerEvents();
bool isOpen();
// An item taken out of a slot is being carried.
bool isDraggingItem();
// The look or use mode is armed.
bool isModeArmed();
void resetButtons();
void open();
void close();
void update(float step);
// The new-item notification over the inventory button (a HUD layer).
void drawNotification();

} // namespace InventoryPanel

// Saving: the character positions before a snapshot, and the autosave.
namespace SaveLoadMenu {

void recordCharacterPositions();
// Saves the snapshot in the newest autosave slot (nothing in the front end and interface chapters),
// the older ones moved up by one once it is written whole; a failure, a failed move included,
// overwrites no older autosave, asks "SL_SAVE_FAILED" with its reason and answers false.
bool autoSave();

} // namespace SaveLoadMenu

// The menus the keyboard closes.
namespace UserInterface {

namespace SettingsMenu {
// Keeps the user's settings and returns to the scene the menu was opened from.
void onClose(nimboui::EventArgs* args);
} // namespace SettingsMenu

namespace AchievementsMenu {
// Plays the click and returns to the scene the menu was opened from (Escape calls it too).
void onClose(nimboui::EventArgs* args);
} // namespace AchievementsMenu

namespace RateMeBox {
// Answers the rating prompt with "later".
void close();
} // namespace RateMeBox

} // namespace UserInterface

// The verb coin: the choice of look, use, talk and combine at a hotspot ("choice_buttons").
namespace VerbCoin {

bool isOpen();
// Offers the verbs of a verb menu: a lone verb that applies runs at once.
void open(Actions::Multiple* target);
void close();
void registerEvents();

} // namespace VerbCoin

// The bridge between the game and the achievements service of the current profile.
namespace Achievements {

// Maps the game's achievement ids to the service's; one for the whole run.
class IdMapper {
public:
    using Function = String (*)(const String& id);

    // The service's id: the function's answer, or the id unchanged without a function.
    String map(const String& id) const;
    // Makes the service for the achievements file and gives it a delegate. A function given is
    // kept; without one the offline service is asked for.
    void createService(const String& achievementsFile, Function mapping);
    // Replaces the service with a new one for the file and authenticates the user.
    void reloadService(const String& achievementsFile);
    // false without a service.
    bool isUnlocked(const String& id) const;

    Function function = nullptr;
};

// The mapper the game start creates, before anything can unlock; null before and after the game.
extern IdMapper* idMapper;

// The current profile's achievements file: the user folder, the parameter "profile" and
// "_achievements.bin".
String profileAchievementsFile();
// Unlocks the achievement and, when it was locked, slides its popup in (the script action's call).
void showUnlockedPopup(const String& id);

} // namespace Achievements
