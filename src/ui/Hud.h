#pragma once
// The head-up display: the frame's draw and its projections (Hud.cpp), the button bar and its
// handlers (HudButtons.cpp), the cursor and the hover label (Cursor.cpp), the pause screen, hotspot
// markers and guide arrows (Markers.cpp), footsteps and the character overlays
// (HudCharacters.cpp). What the engine calls is declared with the interface's services.

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"

#include "morvec/Rectangle.h"
#include "nimboui/Exception.h"

#include <vector>

namespace Hud {

// The "ui" chapter's sound "click", as every click handler of the interface plays it.
void playClick();

// The object of the "ui" chapter of that name and class; a missing one, or one of another class,
// throws naming it.
template <class T> T* uiObjectOf(const String& name) {
    auto* object = dynamic_cast<T*>(uiChapter->getObject(name));
    if (!object) {
        throw nimboui::_GenericException("The object '" + name + "' of the chapter ui is of the wrong type",
                                         "GenericException", __FILE__, __LINE__);
    }
    return object;
}

// An image of the "ui" chapter whose name comes from data; a missing one gives the fallback image
// instead, and is logged once per name. Draws never throw for it.
nimboui::Image* uiImageOr(const String& name, const char* fallback);

// One picture of the HUD: an image into a rectangle, with an alpha and a turn in degrees.
struct Sprite {
    nimboui::Image* image = nullptr;
    morvec::Rectangle rect;
    float alpha = 1.0f;
    float angle = 0.0f;
};
// The colour's alpha byte of an alpha from 0 to 1 (truncated).
int alphaByte(float alpha);
void drawSprite(const Sprite& sprite);

// ---- the frame (Hud.cpp)
// The HUD pass, drawn over the scene (also as a transition's callback).
void draw();
// Where the scene's aspect leaves the window uncovered (scene units): black bars, or the hull panels
// of "margintex" "1"; each panel overlaps the scene's edge by a sixteenth of its size.
struct Margin {
    // The "ui" chapter's image; null for a black bar.
    const char* image;
    morvec::Rectangle rect;
};
std::vector<Margin> margins();
void drawMargins();

// ---- the button bar (HudButtons.cpp)
// Whether the game is played in the casual mode: "casual_mode" is "1", as the mode menu writes it.
bool isCasualMode();
// Runs the buttons' movers one second ahead at once.
void finishButtonMoves();
// The task notification on show over the diary button; none when nothing is pending.
std::vector<Sprite> diaryNotification();
void drawDiaryNotification();

// ---- the cursor and the hover label (Cursor.cpp)
extern String rolloverText;
// The cursor when the label's text was last set (the label's icon on touch screens).
extern nimboui::Image* rolloverCursor;

// The cursor for the state of the game; null for none.
nimboui::Image* getCursorImage();
// The cursor of a scrolling wide scene: the arrow toward the side of the view the pointer is on.
nimboui::Image* getScrollCursor();
// The cursor over a view point (the scene point is it plus the wide scene's scroll).
nimboui::Image* getHotspotCursor(const morvec::Vector2& viewPoint);
nimboui::Image* getCasualHotspotCursor(const morvec::Vector2& viewPoint);
// The verb cursor of an action (null: the hand).
nimboui::Image* getActionCursor(Action* action);
void drawCursor();
// The inventory panel's way to the label: the same as setRollover.
inline void setRolloverText(const String& text) {
    setRollover(text);
}

// Where and how the hover label is drawn this frame.
struct RolloverLayout {
    String font;
    // The text's rectangle and alignment (7 centres it, 3 starts it at the left edge).
    morvec::Rectangle rect;
    int align = 7;
    float alpha = 0.0f;
    // The icon beside the text on touch screens; its image is null when there is none.
    Sprite icon;
};
RolloverLayout layoutRollover();
void drawRollover();

// ---- the pause screen, hotspot markers and guide arrows (Markers.cpp)
// The marks of the hint marker: one at a hinted point, or one on every hotspot of the scene.
std::vector<Sprite> hotspotMarkers();
void drawHotspotMarkers();

// One entry of "tutorial_arrow" whose condition holds.
struct TutorialArrow {
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f;
    // "scene", "left", "right" or any other word.
    String side;
};
// The entries of a "tutorial_arrow" value ("x,y,angle,condition[,side]" joined by " ; ") whose
// conditions hold. An entry of fewer than four fields is skipped; a number that does not parse reads
// 0. Only the condition evaluator's errors leave.
std::vector<TutorialArrow> parseTutorialArrows(const String& value);
// The arrow's picture at the pulse k (1 to 2): in scene units for the side "scene", else in HUD units.
Sprite tutorialArrowSprite(const TutorialArrow& arrow, float k);
void drawTutorialArrows();

// ---- footsteps (HudCharacters.cpp)
// The distance walked since the last step sound.
extern float footstepDistance;

} // namespace Hud
