#pragma once
// The one object through which the framework reaches the game after start-up.

#include "nimbo/Delegates.h"

class ZephNimboEventDelegate : public nimbo::MouseDelegate,
                               public nimbo::KeyboardDelegate,
                               public nimbo::TouchDelegate,
                               public nimbo::UpdateDelegate,
                               public nimbo::SystemDelegate {
public:
    void onMouseDown(int key) override;
    void onMouseUp(int key) override;
    void onMouseCancel(int key) override;
    void onMouseMove() override;
    void onMouseScroll(float x, float y) override;
    void onKeyDown(int key) override;
    void onKeyUp(int key) override;
    void onChar(unsigned int charCode) override;
    void onTouch(const std::vector<morvec::Vector2>& touches) override;
    bool onUpdate(float timeDelta) override;
    bool onQuit(bool canCancel) override;
    void onWindowSizeChanged(int width, int height, bool fullscreen) override;
    void onWindowFocusChanged(bool focused) override;
    void onLowMemoryWarning() override;
};

extern ZephNimboEventDelegate eventDelegate;
