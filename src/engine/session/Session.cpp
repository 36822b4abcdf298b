#include "engine/session/Session.h"

#include "engine/InterfaceServices.h"
#include "engine/app/Game.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/TransitionManager.h"
#include "script/Inventory.h"

#include "echon/AudioManager.h"
#include "nimboui/nimboui.h"

namespace Session {

Scene* activeScene = nullptr;
Scene* previousScene = nullptr;
TransitionManager* activeTransition = nullptr;
std::map<String, TransitionManager*> transitions;
bool sceneLocked = false;
ActionMap* dummyActionMap = nullptr;

namespace {

// Scene activations nested by boot commands that switch at once; deeper ones are refused.
constexpr size_t MAX_NESTED_ACTIVATIONS = 16;

} // namespace

void switchScene(const String& target, const String& effect, const String& ignored, float duration) {
    if (activeTransition) {
        return;
    }
    const std::vector<String>& chain = Scene::activationsUnderWay();
    if (chain.size() >= MAX_NESTED_ACTIVATIONS) {
        // Scenes that switch to each other (or to themselves) on entry: the game stays in the
        // last one reached.
        String names;
        for (const String& name : chain) {
            names += name + " -> ";
        }
        log("ERROR: scene switches nested " + String((int)chain.size()) + " deep (" + names + target +
            "); the switch is dropped");
        return;
    }
    if (activeScene && GameUtil::getActiveSceneName() == target) {
        throw nimboui::_GenericException("Error: Attempting to switch to the active scene!", "GenericException",
                                         __FILE__, __LINE__);
    }
    auto found = transitions.find(effect);
    if (found == transitions.end()) {
        throw nimboui::_GenericException("Transition effect '" + effect + "' not found!", "GenericException", __FILE__,
                                         __LINE__);
    }
    TransitionManager* transition = found->second;
    transition->begin(target, duration, ignored);
    if (transition->update(0.0f)) {
        activeTransition = transition;
    }
}

void updateLoadingScreenFade(float realStep) {
    if (loadingScreenFade <= 0.0f) {
        return;
    }
    loadingScreenFade -= realStep * 0.5f;
    // A fade that lands on 0 exactly is over too; it would otherwise keep the picture for good.
    if (loadingScreenFade <= 0.0f) {
        Game::releaseLoadingScreen();
        loadingScreenFade = -1.0f;
    }
}

void updateTransition(float realStep) {
    if (activeTransition && !activeTransition->update(realStep)) {
        activeTransition = nullptr;
    }
}

void update(float step, float realStep) {
    activeScene->update(step);
    updateTransition(realStep);
    echon::mgr->update(step);
    updateLoadingScreenFade(realStep);
    drainCommandQueue();
}

Chapter* getChapter(const String& name) {
    auto* chapter = dynamic_cast<Chapter*>(nimboui::getDatasetByName(name));
    if (!chapter) {
        throw nimboui::_GenericException("Chapter '" + name + "' not found!", "GenericException", __FILE__, __LINE__);
    }
    return chapter;
}

void lockScene() {
    if (sceneLocked) {
        log("Scene Locked (was previously locked)");
        return;
    }
    log("Scene Locked");
    sceneLocked = true;
    if (!Inventory::getSelectedItem().empty()) {
        Inventory::selectedItem = "";
        InventoryPanel::updatePushedImages();
    }
    Hud::onSceneLocked();
}

void unlockScene() {
    if (!sceneLocked) {
        log("Scene Unlocked (wasn't previously unlocked)");
        return;
    }
    log("Scene Unlocked");
    Hud::onSceneUnlocked();
    sceneLocked = false;
}

} // namespace Session
