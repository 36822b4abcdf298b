#pragma once
// The rating prompt, in two forms: the "ui" chapter's scene "RateMeBox" with rate, never and later,
// and a platform message box with rate and later that the data opens through "showRateMeBox".
// Rate and never leave the empty marker "app_rated.txt" in the user folder (nothing reads it);
// rate also opens the store page. What the engine calls is declared with the interface's services.

#include "engine/InterfaceServices.h"
#include "engine/scene/Scene.h"

namespace UserInterface {

namespace RateMeBox {

class Box : public Scene {
public:
    using Scene::Scene;
    // Wires the answers and hides a button whose text is empty in the language in use.
    void onEnter() override;
};

// The scene for the "ui" chapter's registration; first registers "should_show_rateme_box".
Scene* create(Chapter* chapter);
// The computed variable "should_show_rateme_box": always "0".
String shouldShow();

// The answers. With an event (a click in the scene) they return to "ratemebox_prev_scene"; without
// one (the message box) the scene stays.
void onRate(nimboui::EventArgs* args);
void onNo(nimboui::EventArgs* args);
void onLater(nimboui::EventArgs* args);

} // namespace RateMeBox

// The named action "showRateMeBox": the message-box form of the prompt.
void showRateMeBox(void* userData);
// The message box's answer: 4 rates, anything else is later.
void onRateMeAnswer(int button);

} // namespace UserInterface
