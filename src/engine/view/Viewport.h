#pragma once
// The virtual screen of 426 x 320 units fitted into the window (letterbox or extra width by the
// parameter "aspect"), the pointer mapped onto it, the zoom camera of touch screens and the
// horizontal camera of wide scenes.

#include "morvec/Rectangle.h"
#include "morvec/Vector.h"
#include "vessot/String.h"

// The zoom the view heads for (1 = whole view) and the zoom applied now.
extern float viewZoom;
extern float currentViewZoom;
extern morvec::Vector2 targetViewPan;
extern morvec::Vector2 viewPan;
extern float cameraFollowTimer;
// The pointer in view coordinates (cameraOffsetX not included).
extern morvec::Vector2 sceneCursor;
// The horizontal scroll of a wide scene.
extern float cameraOffsetX;
extern float cameraScrollSpeed;
// The walk target found at a side edge of a wide scene; (0, 0) for none.
extern morvec::Vector2 edgeWalkTarget;
extern morvec::Vector2 lastEdgeCursor;

namespace Viewport {

// The window's size in pixels. A side of 0 (a minimised window), or no window yet, keeps the last
// usable size, so that no division by it is by zero.
morvec::Vector2 windowSize();
morvec::Rectangle getViewportRect(bool applyCamera);
// The ratio an "aspect" value gives: two positive numbers around ":"; anything else counts as 4:3.
float aspectRatio(const vessot::String& aspect);
void mapCursor(float windowX, float windowY);
void updateCursorPosition();
float getWidescreenOffset();
void clampTargetPan();
void handlePinchZoom(float change, float pinchX, float pinchY);
bool canZoomView();
void panView(float dx, float dy);
void updateCamera(float dt);
float getCameraOffsetX();
bool isWideScene();
bool isCameraScrolling();
void findWalkTarget(float dt);
void updateWideSceneCamera();

} // namespace Viewport
