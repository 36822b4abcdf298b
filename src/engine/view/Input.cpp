// Mouse and touch input: presses and releases go to the interface first, then to the active scene;
// a release on free floor walks the current character there.
#include "engine/view/Input.h"

#include "engine/ContentServices.h"
#include "engine/InterfaceServices.h"
#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Viewport.h"
#include "script/Actions.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "script/ZephJobs.h"

#include "marionix/Actor.h"
#include "nimbo/Keys.h"
#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"

#include <vector>

bool pointerHeld = false;
bool dragPanning = false;
morvec::Vector2 dragLastPosition;
bool fastForwardActive = false;
float lastPinchDistance = 0.0f;
int lastTouchCount = 0;
ZephJobs::SwitchScene* pendingSwitchJob = nullptr;

namespace Game {

namespace {

bool isPc() {
    return Session::getParam("target") == "pc";
}

bool inMenus() {
    String dataset = GameUtil::getActiveChapterName();
    return dataset == "ui" || dataset == "menu";
}

bool cursorOnScreen() {
    return sceneCursor.x >= 0 && sceneCursor.x <= 426 && sceneCursor.y >= 0 && sceneCursor.y <= 320;
}

morvec::Vector2 scenePoint() {
    return morvec::Vector2(sceneCursor.x + cameraOffsetX, sceneCursor.y);
}

morvec::Vector2 normalisedPointer() {
    morvec::Vector2 p = nimbo::window->getCursorPosition();
    morvec::Vector2 size = Viewport::windowSize();
    return morvec::Vector2(p.x / size.x, p.y / size.y);
}

nimboui::Object* uiRoot() {
    return Hud::uiObject("ui");
}

// A minigame that turns its pieces both ways takes the secondary button as its code 0 (the primary
// comes as its own code, 1), so that the two buttons turn them opposite ways.
constexpr int SECONDARY_TURN = 0;

// The active scene when the secondary button is to turn its pieces: a minigame that turns them both
// ways, with nothing that the button answers first (a question, an item in hand, an armed mode, the
// switcher, the verb coin, the reply panel, the inventory panel), no pause overlay, no line spoken
// and no interface object under the pointer. Else null.
MinigameScene* minigameTakingSecondary() {
    auto* minigame = dynamic_cast<MinigameScene*>(Session::activeScene);
    if (!minigame || !minigame->turnsBothWays() || !Vars::value("cdialog").empty() ||
        !Inventory::getSelectedItem().empty() || InventoryPanel::isModeArmed() ||
        Characters::isCharacterSwitcherOpen() || VerbCoin::isOpen() || DialogPanel::isOpen() ||
        InventoryPanel::isOpen() || Hud::isResumePanelVisible() || Speech::isSpeaking()) {
        return nullptr;
    }
    nimboui::Object* root = uiRoot();
    return !root || root->getChildUnderPoint(nimboui::getCursorPosition()) == root ? minigame : nullptr;
}

// The character's state before the click: was it walking, at which frame, towards which exit.
struct ClickSnapshot {
    Marionix::Actor* character = nullptr;
    bool walkingBefore = false;
    float savedFrame = 1.0f;
    String exitBefore;
};

ClickSnapshot takeSnapshot() {
    ClickSnapshot s;
    s.character = Characters::getCurrentCharacter();
    if (!s.character) {
        return s;
    }
    s.walkingBefore = dynamic_cast<ZephJobs::SplineMove*>(s.character->getCurrentJob()) != nullptr;
    s.savedFrame = s.walkingBefore ? Characters::getFramePosition(s.character) : 1.0f;
    if (auto* exit = dynamic_cast<ZephJobs::SwitchScene*>(s.character->getLastJob())) {
        s.exitBefore = exit->getTargetScene();
    }
    return s;
}

// A click that replaced a running walk by a new one continues the walk cycle.
void restoreWalkFrame(const ClickSnapshot& s) {
    if (!s.character || !s.walkingBefore || s.savedFrame == 1.0f) {
        return;
    }
    auto* walk = dynamic_cast<ZephJobs::SplineMove*>(s.character->getCurrentJob());
    if (Characters::getFramePosition(s.character) < 1.1f && walk) {
        walk->begin();
        Characters::setFramePosition(s.character, s.savedFrame);
        s.character->update(0.0f);
    }
}

bool isSkippableForFastSwitch(Marionix::Job* job) {
    return dynamic_cast<ZephJobs::SplineMove*>(job) || dynamic_cast<ZephJobs::SwitchScene*>(job) ||
           job->getTypeName() == "SetOrientation";
}

// The variable and lock actions that a fast switch runs ahead of their time; null for other jobs.
Action* earlyAction(Marionix::Job* job) {
    auto* wrapper = dynamic_cast<ZephJobs::ActionWrapper*>(job);
    if (!wrapper || dynamic_cast<ZephJobs::SwitchScene*>(job)) {
        return nullptr;
    }
    String type = wrapper->getAction()->getTypeName();
    return type == "SetVar" || type == "IncVar" || type == "LockScene" ? wrapper->getAction() : nullptr;
}

// A second click on the exit the character walks to switches the scene at once. The whole queue is
// checked before anything runs, so a refused fast switch has executed nothing.
void tryFastSwitch(const ClickSnapshot& s) {
    Marionix::Actor* character = s.character;
    if (!character || s.exitBefore.empty() || character->getJobQueueSize() == 0) {
        return;
    }
    auto* last = dynamic_cast<ZephJobs::SwitchScene*>(character->getLastJob());
    if (!last || last->getTargetScene() != s.exitBefore || last == character->getCurrentJob() ||
        Characters::getFramePosition(character) > 1.1f) {
        return;
    }
    std::vector<Action*> early;
    for (unsigned i = 0; i < character->getJobQueueSize(); ++i) {
        Marionix::Job* job = character->getJob(i);
        if (Action* action = earlyAction(job)) {
            early.push_back(action);
        } else if (!isSkippableForFastSwitch(job)) {
            GameUtil::logMessage("Unable to fast-switch scene, job queue contains a '" + job->getTypeName() + "' job");
            return;
        }
    }
    for (Action* action : early) {
        // Run ahead of their time, the variable actions must not rebuild the scene being left.
        if (action->getTypeName() != "LockScene") {
            Actions::clearResetFlag(action);
        }
        action->execute();
    }
    pendingSwitchJob = static_cast<ZephJobs::SwitchScene*>(character->removeLastJob(false));
    pendingSwitchJob->begin();
    pendingSwitchJob->update(0.0f);
}

void walk(const ClickSnapshot& s) {
    Marionix::Actor* character = s.character;
    if (!character || !Inventory::getSelectedItem().empty()) {
        restoreWalkFrame(s);
        return;
    }
    if (character->getJobQueueSize() > 0 && !s.walkingBefore) {
        return;
    }
    morvec::Vector2 target = Viewport::isCameraScrolling() ? edgeWalkTarget : scenePoint();
    if (character->getJobQueueSize() > 0) {
        character->clearJobs();
    }
    character->addJob(new ZephJobs::SplineMove(String(0), false, target.x, target.y));
    if (auto* move = dynamic_cast<ZephJobs::SplineMove*>(character->getCurrentJob())) {
        move->begin();
        // A click beyond the floor whose nearest reachable point lies close by does not move.
        if ((target - move->getDestination()).squaredLength() > 1.0f && move->getLength() < 10.0) {
            character->clearJobs();
        }
    }
    restoreWalkFrame(s);
}

// The secondary click: the first of these that applies.
void secondaryClick() {
    if (MinigameScene* minigame = minigameTakingSecondary()) {
        morvec::Vector2 p = scenePoint();
        minigame->onMouseUp(p.x, p.y, SECONDARY_TURN);
    } else if (!Vars::value("cdialog").empty()) {
        Cdialog::answer(2);
    } else if (!Inventory::getSelectedItem().empty()) {
        Inventory::setSelectedItem("");
    } else if (InventoryPanel::isModeArmed()) {
        InventoryPanel::resetButtons();
    } else if (Characters::isCharacterSwitcherOpen()) {
        Characters::closeCharacterSwitcher();
    } else if (VerbCoin::isOpen() || DialogPanel::isOpen()) {
        if (VerbCoin::isOpen()) {
            VerbCoin::close();
        }
    } else if (InventoryPanel::isOpen()) {
        InventoryPanel::close();
    } else {
        InventoryPanel::open();
    }
}

} // namespace

void handleMouseDown(int button) {
    if (loadingScreenAlpha > 0.4f) {
        return;
    }
    if (button == 7) {
        fastForwardActive = !fastForwardActive;
        return;
    }
    if (button == nimbo::BUTTON_SECONDARY && !Session::activeTransition) {
        Viewport::updateCursorPosition();
        if (MinigameScene* minigame = minigameTakingSecondary()) {
            morvec::Vector2 p = scenePoint();
            minigame->onMouseDown(p.x, p.y, SECONDARY_TURN);
        }
        return;
    }
    if (button != 1) {
        return;
    }
    pointerHeld = true;
    dragLastPosition = normalisedPointer();
    if (Session::activeTransition) {
        return;
    }
    // Every pointer event maps its own position: the frame's mapping may be a fast move behind.
    Viewport::updateCursorPosition();
    morvec::Vector2 gui = nimboui::getCursorPosition();
    if (nimboui::Object* root = uiRoot(); root && root->OnMouseDown(gui.x, gui.y, button)) {
        return;
    }
    if ((!Characters::isPlayerBusy() && cursorOnScreen()) || inMenus()) {
        morvec::Vector2 p = scenePoint();
        Session::activeScene->onMouseDown(p.x, p.y, button);
    }
}

void handleMouseUp(int button) {
    if (loadingScreenAlpha > 0.4f || (button != 1 && button != 2)) {
        return;
    }
    // The delegate parks the GUI cursor far outside everything for a cancelled press.
    bool cancelled = nimboui::getCursorPosition().x <= -10000;
    if (button == 1) {
        pointerHeld = false;
        if (dragPanning) {
            dragPanning = false;
            if (!cancelled) {
                return;
            }
        }
    }
    if (cancelled) {
        // Only the interface hears of it, released outside every object, so it lets go of a
        // pressed button; the scene receives nothing.
        if (nimboui::Object* root = uiRoot()) {
            root->OnMouseUp(-10000, -10000, button);
        }
        return;
    }
    if (Session::activeTransition) {
        return;
    }
    Viewport::updateCursorPosition();
    if (button == 2 && !Speech::isSpeaking()) {
        secondaryClick();
        return;
    }
    morvec::Vector2 gui = nimboui::getCursorPosition();
    if (nimboui::Object* root = uiRoot(); root && root->OnMouseUp(gui.x, gui.y, button)) {
        return;
    }
    morvec::Vector2 p = scenePoint();
    if (inMenus()) {
        Session::activeScene->onMouseUp(p.x, p.y, button);
        return;
    }
    if (DialogPanel::isOpen()) {
        DialogPanel::skipSpeechLine();
        return;
    }
    if (Speech::isSpeaking()) {
        Speech::skipCurrentLine();
        return;
    }
    if (Characters::isPlayerBusy() || !cursorOnScreen()) {
        return;
    }
    ClickSnapshot snapshot = takeSnapshot();
    if (Viewport::isCameraScrolling() || !Session::activeScene->onMouseUp(p.x, p.y, button)) {
        walk(snapshot);
        return;
    }
    tryFastSwitch(snapshot);
    restoreWalkFrame(snapshot);
}

void handleTouch(const std::vector<morvec::Vector2>& touches) {
    int n = (int)touches.size();
    if (n == 1) {
        lastTouchCount = 1;
        return;
    }
    fastForwardActive = n == 3;
    pointerHeld = false;
    if (n != 2) {
        lastPinchDistance = 0.0f;
        lastTouchCount = n;
        return;
    }
    morvec::Vector2 size = Viewport::windowSize();
    morvec::Vector2 delta = touches[0] - touches[1];
    float distance = morvec::Vector2(delta.x / size.x, delta.y / size.y).length();
    morvec::Vector2 mid = (touches[0] + touches[1]) * 0.5f;
    morvec::Vector2 centre(mid.x / size.x, mid.y / size.y);
    if (lastPinchDistance != 0.0f && lastTouchCount == 2) {
        Viewport::handlePinchZoom((lastPinchDistance - distance) * 2.0f, centre.x, centre.y);
    }
    lastPinchDistance = distance;
    lastTouchCount = 2;
}

void handleMouseMove() {
    Viewport::updateCursorPosition();
    if (!isPc()) {
        return;
    }
    morvec::Vector2 gui = nimboui::getCursorPosition();
    if (nimboui::Object* root = uiRoot()) {
        root->OnMouseMove(gui.x, gui.y);
    }
    if (DialogPanel::highlightedReply != -1) {
        DialogPanel::highlightedReply = -1;
        DialogPanel::resetReplyColours();
    }
    if (!Characters::isPlayerBusy() && Session::activeScene) {
        morvec::Vector2 p = scenePoint();
        Session::activeScene->onMouseMove(p.x, p.y);
    }
}

} // namespace Game
