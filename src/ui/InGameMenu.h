#pragma once
// The in-game menu, the help screen and the six-page quick tutorial of the "ui" chapter, and the
// way back to the main menu. The menu's and the help screen's buttons run the "ui" chapter's named
// actions of their own names: what they do is data.

#include "engine/scene/Scene.h"

namespace nimboui {
struct EventArgs;
}

namespace UserInterface {

// Runs the "ui" chapter's named action that bears the clicked object's name; an object below full
// alpha (dimmed, or still fading in) does nothing.
void runButtonAction(nimboui::EventArgs* args);

class InGameMenu : public Scene {
public:
    using Scene::Scene;
    static Scene* create(Chapter* chapter);
    void onEnter() override;
    // The achievements button is active only while the achievements service is available.
    void onUpdate(float dt) override;
};

class HelpMenu : public Scene {
public:
    using Scene::Scene;
    static Scene* create(Chapter* chapter);
    void onEnter() override;
};

// The page is "quicktutorial_page" ("0" to "5"); the scene's data shows it. Turning a page
// re-enters the scene, and the scene that opened the tutorial is kept in "tutorial_prev_scene".
class QuickTutorial : public Scene {
public:
    using Scene::Scene;
    static Scene* create(Chapter* chapter);
    void onEnter() override;
    static void onCloseClick(nimboui::EventArgs* args);
    static void onPrevClick(nimboui::EventArgs* args);
    static void onNextClick(nimboui::EventArgs* args);
};

} // namespace UserInterface

namespace Menu {

// Back to the main menu, with a fade.
void gotoMainMenu();

} // namespace Menu
