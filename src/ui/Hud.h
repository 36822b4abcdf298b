#pragma once
// The head-up display: the frame's draw and its projections, the HUD buttons and the interface's
// reactions to scene switches and the scene lock.

#include "morvec/Vector.h"
#include "vessot/String.h"

#include <vector>

using vessot::String;

class Action;

namespace nimboui {
class Image;
class Object;
struct EventArgs;
} // namespace nimboui

namespace Hud {

// Finished tasks (1.0) and added tasks (-1.0) waiting to be shown by the diary button.
extern std::vector<float> taskNotifications;
// Seconds the hover label stays.
extern float rolloverTimer;

// The object of the "ui" chapter, or null (also before the chapter is loaded).
nimboui::Object* uiObject(const String& name);
// Whether the "ui" object is visible with an alpha above 0.
bool isUiObjectShown(const String& name);

// The whole draw of one frame: the scene (or the running transition), the HUD, the loading picture.
void drawFrame();
// The HUD pass, drawn over the scene (also as a transition's callback).
void draw();
// Black bars (or margin images) where the scene's aspect leaves the window uncovered.
void drawMargins();
// false: the scene's projection, with letterbox, pan and zoom; true: the HUD's.
void setProjection(bool hud);
void updateAspectChooser();

// Carries out a click on a hotspot bound to the action (null does nothing).
void performAction(Action* action);
// Every scene switch, before the old scene is left.
void onSceneSwitch(const String& fullSceneName);
// After every scene switch: the wide-scene camera and the HUD buttons by the scene's "hide_ui".
void applyHideUi();
void showButtons(bool instant);
void hideButtons(bool dialog);
void onSceneLocked(bool instant);
void onSceneUnlocked();
bool isResumePanelVisible();
void showResumePanel(bool show);
void toggleResumePanel();
void setRollover(const String& text);
void updateCharacterOverlays();
void updateDiaryButton(float step);
// Keeps a scene point within the visible strip of a wide scene (outside wide scenes it is left
// alone); when an image is given and the point had to move, the image becomes the arrow pointing
// toward where the point lies.
morvec::Vector2 clampArrowToView(nimboui::Image** image, const morvec::Vector2& point);
void playFootsteps(float step);

// Click handlers of the HUD buttons.
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
