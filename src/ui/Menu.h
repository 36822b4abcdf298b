#pragma once
// The front end: the scenes of the "menu" chapter and the player profiles.
//
// Profile 1 is the user folder itself; profile N (2 to 100) is the folder "_profile" + N beside the
// user folder's other contents. Each holds "username.txt" (the name after a byte-order mark) and
// its save slots; a profile's achievements file lies in the user folder, named after the profile.
// The parameter "profile" names the current one ("" or "/_profile" + N) and is kept in the user's
// "zeph.cfg". Names are stored as typed and shown without "[" and "]", so no typed name starts a
// text tag.

#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"

#include "nimboui/Exception.h"

#include <vector>

namespace nimboui {
struct EventArgs;
}

namespace Menu {

// ---------------------------------------------------------------- shared (MenuChapter.cpp)

// The "menu" chapter; it must be loaded.
Chapter* chapter();
// The chapter's object of that name and class; a missing one, or one of another class, throws.
template <class T = nimboui::Object> T* objectOf(const String& name) {
    auto* object = dynamic_cast<T*>(chapter()->getObject(name));
    if (!object) {
        throw nimboui::_GenericException("The object '" + name + "' of the chapter menu is of the wrong type",
                                         "GenericException", __FILE__, __LINE__);
    }
    return object;
}
// The languages of the language menu, in the order its buttons are registered.
inline constexpr const char* LOCALE_CODES[] = {"en", "de", "es", "fr", "it", "pt", "pt-PT", "ru", "ja", "ko", "zh"};

// The language the game runs in: the localisation when it is one of the game's languages, else "en".
String localeInUse();
// Whether the code is one of the eleven languages of the language menu.
bool isLocaleCode(const String& code);
// Back to the main menu with a fade of 0.5 s ("pm_close", "modemenu_return", "locale_back_btn").
void backToMainMenu(nimboui::EventArgs* args);

// Creates the chapter with its registration (once, by the chapters' creation).
void createChapter();
// The chapter's registration at each load: its six scene classes and "OnPMDeleteOk".
void registerScenes(Chapter* chapter);

// ---------------------------------------------------------------- profiles (MenuProfiles.cpp)

// Whether the profile manager may add a profile; set on its every entry.
extern bool canAddProfile;

// The path of the first profile folder "_profile" + N (N from 2 to 100) that does not exist; ""
// when all do.
String findFreeProfileSlot();
// Writes the user's parameters to the user's "zeph.cfg".
void saveUserConfigFile();
// Makes a profile of the name in the edit box (leading blanks removed) and makes it the current
// one: profile 1 when it is free, else the lowest free folder. Empties the box; always true.
bool createProfile(const String& nameBox);
// Deletes the current profile (the answer "yes" to the delete question) and chooses another.
void onPMDeleteOk(void* userData);
// Whether a folder of the user folder is a profile's: "_profile" followed by digits only.
bool isProfileFolder(const String& name);
// The current profile's name as stored; "error" when its file is missing.
String currentProfileName();
// The text key that shows a stored name through a format key: "{%f} " + format + " {" + the name
// without "[" and "]" + "}".
String nameTextKey(const String& formatKey, const String& name);

// The first start: the player types a name over the suggested one.
class FirstTimeProfile : public Scene {
public:
    using Scene::Scene;
    void onEnter() override;
    // Ends text entry (an on-screen keyboard), the counterpart of the focus taken on entry.
    void onLeave() override;
    // The first characters typed replace the suggested name; OK is active only with a name.
    void onUpdate(float dt) override;
    // Every click is consumed.
    bool onMouseUp(float x, float y, int button) override;

    // "Click" of "firsttime_ok_btn", "Submit" of "firsttime_player_name": nothing while the name is
    // blank; else the profile and the main menu.
    static void onOk(nimboui::EventArgs* args);

    bool clearDefaultName = true;
};

// The list of the five profiles with add, select and delete.
class ProfileManager : public Scene {
public:
    using Scene::Scene;
    // Fills the list (a refresh by Scene::reset registers no handlers again).
    void onEnter() override;
    // "pm_add" is active while the typed name is new, regardless of case and surrounding blanks.
    void onUpdate(float dt) override;

    static void onAdd(nimboui::EventArgs* args);
    static void onDelete(nimboui::EventArgs* args);
    static void onSelectSlot(nimboui::EventArgs* args);

    // The names of the filled slots, blanks trimmed.
    std::vector<String> profileNames;
};

// ---------------------------------------------------------------- main menu (MenuMain.cpp)

// The autosave slot that "Resume" loads ("slot1" to "slot6"), "" when there is none.
extern String resumeSlot;

// The main menu. A real entry ends the running game: the story chapters are unloaded and every
// variable goes back to its initial value.
class MainMenu : public Scene {
public:
    using Scene::Scene;
    void onEnter() override;

    static void onNewGame(nimboui::EventArgs* args);
    static void onResume(nimboui::EventArgs* args);
    static void onLoadGame(nimboui::EventArgs* args);
    static void onSettings(nimboui::EventArgs* args);
    static void onAchievements(nimboui::EventArgs* args);
    static void onCredits(nimboui::EventArgs* args);
    static void onLocale(nimboui::EventArgs* args);
    static void onProfile(nimboui::EventArgs* args);
    static void onPromoVideo(nimboui::EventArgs* args);
    static void onQuit(nimboui::EventArgs* args);

    // The current profile's name as read at the last real entry; kept for the whole run.
    static String profileName;
};

// The state of a new game: initial variables (with "cfg/chapter2.sav" over them in chapter mode
// 2), no items, no character jobs; the snapshot follows, so no autosave writes the old game.
void resetGameState();
// Into the story: "intro.Intro01", or "terra_nuova.Station" locked in chapter mode 2.
void startNewGame();

// ---------------------------------------------------------------- mode, credits, language (MenuScreens.cpp)

// The choice of a hardcore or a casual game. Each image fades toward its target at 1 a second.
class ModeMenu : public Scene {
public:
    using Scene::Scene;
    void onEnter() override;
    void onUpdate(float dt) override;

    static void onHardcore(nimboui::EventArgs* args);
    static void onCasual(nimboui::EventArgs* args);
    // Nothing before a choice; then a new game of the chosen kind.
    static void onOk(nimboui::EventArgs* args);

    float hardcoreAlpha = 1.0f;
    float casualAlpha = 1.0f;
    float hardcoreTarget = 1.0f;
    float casualTarget = 1.0f;
};

// The credits: every "__credits" object of the scene moves up.
class Credits : public Scene {
public:
    using Scene::Scene;
    void onUpdate(float dt) override;
};

// The choice of the language, written to "lang.cfg" for the next start.
class LocaleMenu : public Scene {
public:
    using Scene::Scene;
    // Marks the chosen language and shows whether it waits for a restart.
    void onEnter() override;

    static void onLocaleButton(nimboui::EventArgs* args);
};

} // namespace Menu
