#include "engine/session/TransitionManager.h"

#include "engine/InterfaceServices.h"
#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"

#include "nimbo/Nimbo.h"
#include "vessot/Exception.h"

#include <cmath>

void TransitionManager::begin(const String& target, float newDuration, const String&) {
    targetScene = target;
    // A duration that is not a finite number of 0 or more would never reach its middle.
    duration = std::isfinite(newDuration) && newDuration >= 0.0f ? newDuration : 0.0f;
    elapsed = 0.0f;
    justSwitched = false;
}

bool TransitionManager::update(float step) {
    float advance = justSwitched ? 0.01f : step;
    justSwitched = false;
    elapsed = std::min(elapsed + advance, duration);
    return elapsed != duration;
}

void TransitionManager::switchScene() {
    justSwitched = true;
    // A switch made while this one runs (by the new scene's boot commands) may reuse this object.
    String target = targetScene;
    Chapter* chapter = nullptr;
    String chapterName;
    String sceneName;
    if (target.split(".", chapterName, sceneName)) {
        chapter = Session::getChapter(chapterName);
        targetScene = sceneName;
    } else {
        if (!Session::activeScene) {
            throw vessot::exception("Can't switch to '" + target +
                                        "', active_scene is null so scene name must have a chapter prefix",
                                    __FILE__, __LINE__);
        }
        chapter = Session::activeScene->chapter;
        sceneName = target;
    }
    Hud::onSceneSwitch(chapter->getName() + "." + sceneName);
    Vars::get("prev_scene")->assign(*Vars::get("active_scene"));
    Session::previousScene = Session::activeScene;
    if (Session::previousScene) {
        Session::previousScene->deactivate(true);
    }
    if (!chapter->isLoaded()) {
        loadingScreenFade = 1.0f;
        Game::ensureLoadingScreen(chapter->getName());
        Game::drawLoadingScreen(1.0f);
        if (nimbo::rendersys) {
            nimbo::rendersys->presentFrame();
        }
        Scene* previous = Session::previousScene;
        if (previous && previous->chapter != chapter && !previous->chapter->keep) {
            previous->chapter->unload();
            Session::previousScene = nullptr;
        }
        chapter->load();
    } else if (loadingScreenFade < 0.0f) {
        // No chapter was loaded: no loading picture stands between the player and the scene.
        loadingScreenAlpha = 0.0f;
    }
    Session::activeScene = chapter->getScene(sceneName);
    Session::activeScene->activate();
    Hud::applyHideUi();
}

namespace Transitions {

void Immediate::begin(const String& target, float newDuration, const String& ignored) {
    TransitionManager::begin(target, newDuration, ignored);
    switchScene();
}

void Immediate::draw(DrawCallback callback) {
    if (callback) {
        callback();
    }
}

bool Fade::update(float step) {
    float before = elapsed;
    float half = duration * 0.5f;
    if (before == half) {
        switchScene();
    }
    TransitionManager::update(step);
    if (before < half && elapsed >= half) {
        elapsed = half;
    }
    // Decided after the cap, so an update that crosses the middle and reaches the end still leaves
    // the switch to the next update.
    return elapsed != duration;
}

float Fade::darkness() const {
    if (duration <= 0.0f) {
        return 0.0f;
    }
    float half = duration * 0.5f;
    return elapsed < half ? 2.0f * elapsed / duration : 2.0f - 2.0f * elapsed / duration;
}

void Fade::draw(DrawCallback callback) {
    if (Session::activeScene) {
        Session::activeScene->draw();
    }
    if (callback) {
        callback();
    }
    nimbo::RenderSystem* rs = nimbo::rendersys;
    morvec::Matrix4 modelview = rs->getModelviewMatrix();
    morvec::Matrix4 projection = rs->getProjectionMatrix();
    rs->setProjectionMatrix(morvec::Matrix4());
    rs->setIdentityTransform();
    rs->drawFilledRect(morvec::Rectangle(-1, -1, 2, 2), nimbo::Color(0, 0, 0, (uint8_t)(int)(darkness() * 255)));
    rs->setModelviewMatrix(modelview);
    rs->setProjectionMatrix(projection);
}

} // namespace Transitions
