#include "engine/app/EventDelegate.h"

#include "engine/app/Game.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/view/Input.h"

#include "echon/AudioManager.h"
#include "nimboui/nimboui.h"

ZephNimboEventDelegate eventDelegate;

void ZephNimboEventDelegate::onMouseDown(int key) {
    Game::guarded([&] { Game::handleMouseDown(key); });
}

void ZephNimboEventDelegate::onMouseUp(int key) {
    Game::guarded([&] { Game::handleMouseUp(key); });
}

void ZephNimboEventDelegate::onMouseCancel(int key) {
    // A cancelled press is released far outside every object.
    Game::guarded([&] {
        nimboui::setCursorPosition(-10000, -10000);
        Game::handleMouseUp(key);
        nimboui::setCursorPosition(-10000, -10000);
    });
}

void ZephNimboEventDelegate::onMouseMove() {
    Game::guarded([] { Game::handleMouseMove(); });
}

void ZephNimboEventDelegate::onMouseScroll(float, float) {}

void ZephNimboEventDelegate::onKeyDown(int key) {
    Game::guarded([&] { Game::handleKeyPress(key); });
}

void ZephNimboEventDelegate::onKeyUp(int key) {
    Game::guarded([&] { Game::handleKeyShortcuts(key); });
}

void ZephNimboEventDelegate::onChar(unsigned int charCode) {
    Game::guarded([&] {
        if (Session::activeScene && Session::activeScene->root) {
            Session::activeScene->root->OnChar(charCode);
        }
    });
}

void ZephNimboEventDelegate::onTouch(const std::vector<morvec::Vector2>& touches) {
    Game::guarded([&] { Game::handleTouch(touches); });
}

bool ZephNimboEventDelegate::onUpdate(float timeDelta) {
    Game::guarded([&] { Game::update(timeDelta); });
    return true;
}

bool ZephNimboEventDelegate::onQuit(bool canCancel) {
    // A close request of the window never ends the program by itself: the player is asked.
    Game::guarded([&] { Game::handleQuitRequest(canCancel); });
    return false;
}

void ZephNimboEventDelegate::onWindowSizeChanged(int width, int height, bool) {
    Game::guarded([&] { Game::handleWindowResize(width, height); });
}

void ZephNimboEventDelegate::onWindowFocusChanged(bool focused) {
    Game::guarded([&] {
        if (!echon::mgr) {
            return;
        }
        if (focused && echon::mgr->isSuspended()) {
            echon::mgr->resumeAudio();
        } else if (!focused && !echon::mgr->isSuspended()) {
            echon::mgr->suspendAudio();
        }
    });
}

void ZephNimboEventDelegate::onLowMemoryWarning() {
    Game::guarded([] { Game::unloadUnusedTextures(); });
}
