// The frame: play time, the snapshot and autosave at quiet moments, the time step cut into
// sub-steps, and in each sub-step the camera, depth sort, draw, session update, characters and
// interface.
#include "engine/InterfaceServices.h"
#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"

#include "echon/AudioManager.h"
#include "marionix/Actor.h"
#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"
#include "runel/Renderer.h"
#include "vessot/Log.h"

#include <algorithm>
#include <climits>

float playSecondAccumulator = 0.0f;
int lastInputMode = 2;
float hudPulsePhase = 0.0f;
float ffwdButtonAlpha = 0.0f;
String lastActiveSceneSeen;

namespace Game {

namespace {

bool isQuiet() {
    if (Characters::isPlayerBusy() || InventoryPanel::isOpen() || DialogPanel::isOpen() || Speech::isSpeaking() ||
        VerbCoin::isOpen() || Session::activeTransition) {
        return false;
    }
    Marionix::Actor* character = Characters::getCurrentCharacter();
    return !(character && character->getJobQueueSize() > 0);
}

void countPlayTime(float elapsed) {
    playSecondAccumulator += elapsed;
    if (playSecondAccumulator <= 1.0f) {
        return;
    }
    playSecondAccumulator -= 1.0f;
    String dataset = GameUtil::getActiveChapterName();
    if (dataset == "menu" || dataset == "ui") {
        return;
    }
    // Wide sums: a damaged or edited save may hold values at the ends of int's range.
    long long seconds = std::min<long long>((long long)Vars::value("gameplay_time").toInt() + 1, INT_MAX);
    long long last = Vars::value("last_autosave_time").toInt();
    Vars::get("gameplay_time")->setValue(String((int)seconds), true);
    if (!isQuiet()) {
        return;
    }
    SaveLoadMenu::recordCharacterPositions();
    Vars::snapshot = Vars::variables;
    if (seconds - last >= 600) {
        SaveLoadMenu::autoSave();
    }
}

void dragPan() {
    if (!pointerHeld || viewZoom >= 1.0f) {
        return;
    }
    morvec::Vector2 size = Viewport::windowSize();
    morvec::Vector2 cursor = nimbo::window->getCursorPosition();
    morvec::Vector2 p(cursor.x / size.x, cursor.y / size.y);
    if (dragPanning) {
        morvec::Rectangle rect = Viewport::getViewportRect(false);
        Viewport::panView((p.x - dragLastPosition.x) * rect.w, (p.y - dragLastPosition.y) * rect.h);
        dragLastPosition = p;
    } else if (Viewport::canZoomView() && !InventoryPanel::isDraggingItem() &&
               (p - dragLastPosition).length() > 0.01f) {
        dragPanning = true;
    }
}

void sortScene() {
    if (Session::activeScene->getProperty("zorder") == "ignore" || !charactersChapter) {
        return;
    }
    // The current character sorts in front of anything standing at the same height.
    nimboui::Object* current = charactersChapter->findObject(Vars::value("current_character"));
    if (current) {
        current->setY(current->getY() + 0.1f);
    }
    Character2D::sortSceneObjects();
    if (current) {
        current->setY(current->getY() - 0.1f);
    }
}

void updateButtons(float step) {
    nimboui::Object* skip = Hud::uiObject("skip_button");
    if (skip) {
        skip->setVisible(Characters::isSkipPending() && !DialogPanel::areRepliesShown());
    }
    if (fastForwardActive && !InventoryPanel::isOpen() && !VerbCoin::isOpen()) {
        ffwdButtonAlpha = std::min(1.0f, ffwdButtonAlpha + step);
    } else {
        ffwdButtonAlpha = std::max(0.0f, ffwdButtonAlpha - step * 2.0f);
    }
    nimboui::Object* ffwd = Hud::uiObject("ffwd_button");
    if (ffwd) {
        ffwd->setAlpha(ffwdButtonAlpha);
    }
    float widen = Viewport::getWidescreenOffset();
    if (ffwd) {
        ffwd->setX(480 - widen);
    }
    if (skip) {
        if (Session::getParam("ui") == "mobile") {
            skip->setY(265);
            skip->setX(851 + widen);
        } else {
            skip->setX(869 + widen);
        }
    }
}

void updateHintMarker(float step) {
    String current = Vars::value("active_scene");
    Hints::Marker& marker = Hints::marker;
    if (marker.time > 0.0f) {
        if (current != lastActiveSceneSeen) {
            marker.time = 0.0f;
        } else if (!marker.image || marker.time > 2.0f ||
                   Hud::clampArrowToView(nullptr, marker.position) == marker.position) {
            marker.time = std::max(0.0f, marker.time - step);
        }
    }
    lastActiveSceneSeen = current;
}

void updateHover(nimboui::Object* uiRoot) {
    bool inventoryOpen = InventoryPanel::isOpen();
    String item = Inventory::getSelectedItem();
    if (!inventoryOpen && item.toBool() && uiChapter) {
        Hud::setRollover(uiChapter->getText("obj_" + item));
    }
    if (!uiRoot || inventoryOpen || Session::sceneLocked || VerbCoin::isOpen() || Speech::isSpeaking() ||
        DialogPanel::isOpen() || Characters::isCharacterSwitcherOpen()) {
        return;
    }
    bool pointerMode = Session::getParam("target") == "pc" || (pointerHeld && !dragPanning);
    if (pointerMode && uiRoot->getChildUnderPoint(nimboui::getCursorPosition()) == uiRoot) {
        Hud::setRollover(Session::activeScene->getHoverText(sceneCursor.x + cameraOffsetX, sceneCursor.y));
    }
}

void subStep(float step, float realStep) {
    Hud::updateCharacterOverlays();
    nimboui::Object* uiRoot = Hud::uiObject("ui");
    bool switchable = Vars::value("switchable_characters").contains(",");
    if (nimboui::Object* button = Hud::uiObject("character_button")) {
        button->setAlpha(switchable ? 1.0f : 0.0f);
    }
    if (switchable) {
        Characters::updateCharacterButton();
    }
    if (Session::getParam("target") == "pc") {
        Viewport::updateCursorPosition();
    } else if (!pointerHeld) {
        nimboui::setCursorPosition(-100, -100);
    }
    dragPan();
    Viewport::updateCamera(step);
    sortScene();
    Hud::updateDiaryButton(step);
    Hud::drawFrame();
    hudPulsePhase += step;
    if (hudPulsePhase > 1.0f) {
        hudPulsePhase -= 1.0f;
    }
    Speech::clickHintAlpha = Speech::isSpeaking() ? 1.2f : Speech::clickHintAlpha - step * 3.0f;
    bool blocked = VerbCoin::isOpen() || InventoryPanel::isOpen() || Characters::isCharacterSwitcherOpen() ||
                   !Vars::value("cdialog").empty();
    if (!blocked) {
        Hints::updateHintButton(step);
        Session::update(step, realStep);
        if (GameUtil::getActiveChapterName() != "ui") {
            Hud::playFootsteps(step);
            Characters::updateAll(step);
            Speech::updateTalkAnimation(step);
            Hud::fadeRollover(step);
            Viewport::findWalkTarget(step);
        }
    } else {
        // A running transition always runs to its end: a confirmation raised during a fade must
        // not leave the screen black with nothing able to answer it.
        Session::updateTransition(realStep);
        echon::mgr->update(realStep);
        Session::updateLoadingScreenFade(realStep);
    }
    if (uiChapter) {
        uiChapter->updateTextures(step);
    }
    if (uiRoot) {
        uiRoot->update(step);
    }
    InventoryPanel::update(step);
    nimboui::updateTextures(step);
    DialogPanel::update(step);
    updateButtons(step);
    updateHintMarker(step);
    updateHover(uiRoot);
}

} // namespace

bool update(float elapsed) {
    int mode = nimbo::window->getInputMode();
    if (mode != lastInputMode) {
        lastInputMode = mode;
        setPlatformTarget(mode == 1);
    }
    Hud::updateAspectChooser();
    countPlayTime(elapsed);
    float step = std::min(elapsed, 0.05f);
    float realStep = step;
    if (fastForwardActive && Session::activeScene && !Session::activeScene->getName().startsWith("SS")) {
        step *= 5.0f;
    }
    int count = 1;
    if (Hud::isResumePanelVisible()) {
        step = 0.0f;
    } else if (step > 0.1f) {
        count = (int)(step / 0.1f + 1.0f);
        step /= (float)count;
        // Each sub-step's real time is the real time divided alike, so transitions keep their pace.
        realStep /= (float)count;
    }
    if (Vars::value("zeph_target") != Session::getParam("target")) {
        Vars::get("zeph_target")->setValue(Session::getParam("target"), false);
    }
    for (int i = 0; i < count; ++i) {
        subStep(step, realStep);
    }
    return true;
}

void unloadUnusedTextures() {
    vessot::Log::write("vorne", "Unloading unused textures");
    Chapter* active = Session::activeScene ? Session::activeScene->chapter : nullptr;
    for (const char* name :
         {"ui", "characters", "menu", "ship", "jama_spacea", "varion", "schminkell7", "terra_nuova", "intro"}) {
        auto* chapter = dynamic_cast<Chapter*>(nimboui::getDatasetByName(name));
        if (!chapter) {
            continue;
        }
        if (chapter == active || chapter->keep) {
            chapter->unloadTextures();
        } else if (chapter->isLoaded()) {
            chapter->unload();
        }
    }
    runel::renderer->clearCache();
    echon::mgr->clearMemory();
}

} // namespace Game
