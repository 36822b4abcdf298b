#pragma once
// The game's handlers of mouse, touch, keyboard and system events, and the frame.

#include "morvec/Vector.h"
#include "vessot/String.h"

#include <vector>

namespace ZephJobs {
class SwitchScene;
}

// The pointer state shared by the handlers, the frame and the camera.
extern bool pointerHeld;
extern bool dragPanning;
extern morvec::Vector2 dragLastPosition;
extern bool fastForwardActive;
extern float lastPinchDistance;
extern int lastTouchCount;
// The HUD's pulse, from 0 to 1 once a second.
extern float hudPulsePhase;
// The scene-switch job a fast scene switch took out of the character's queue.
extern ZephJobs::SwitchScene* pendingSwitchJob;
// The "active_scene" of the last frame; the hint marker goes out when the scene changes.
extern vessot::String lastActiveSceneSeen;

namespace Game {

void handleMouseDown(int button);
void handleMouseUp(int button);
void handleMouseMove();
void handleTouch(const std::vector<morvec::Vector2>& touches);
void handleKeyPress(int key);
void handleKeyShortcuts(int key);
// True when the program may quit at once (only for a request that cannot be cancelled).
bool handleQuitRequest(bool canCancel);
void handleWindowResize(int width, int height);

// The whole work of one frame; always true.
bool update(float elapsed);
// Low memory: unloads the chapters that are not needed and the textures of those that stay.
void unloadUnusedTextures();

} // namespace Game
