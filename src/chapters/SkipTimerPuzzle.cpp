#include "chapters/SkipTimerPuzzle.h"

#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "ui/Hud.h"

#include "nimboui/ImageBox.h"

#include <algorithm>

namespace SkipTimer {

namespace {

// The gauge's pictures: "ui.skip_button_1" (empty) to "ui.skip_button_13" (full).
constexpr float GAUGE_STEPS = 12.01f;

} // namespace

void enter(const SkipTimerPuzzle& puzzle, Scene& scene) {
    if (Vars::value("active_scene") == Vars::value("prev_scene")) {
        return;
    }
    *puzzle.timer = 0.0f;
    scene.chapter->getObject(puzzle.skipButton)->registerEvent("Click", puzzle.skip);
}

void update(const SkipTimerPuzzle& puzzle, Scene& scene, float dt) {
    if (Vars::value(puzzle.solvedFlag).toInt() == 0) {
        scene.properties["hide_ui"] = "1";
    } else if (scene.getProperty("hide_ui").toInt() == 1) {
        scene.properties["hide_ui"] = "3";
    }
    *puzzle.timer += dt;
    if (auto* button = dynamic_cast<nimboui::ImageBox*>(scene.chapter->getObject(puzzle.skipButton))) {
        button->setImageByName("ui.skip_button_" + String(gaugeStep(*puzzle.timer)));
    }
}

void skip(const SkipTimerPuzzle& puzzle) {
    if (!(*puzzle.timer > TIMEOUT)) {
        GameUtil::logMessage("can't skip, waiting for timeout");
        return;
    }
    Hud::playClick();
    for (const auto& [name, value] : puzzle.solution) {
        Vars::get(name)->setValue(value, false);
    }
    // The timer runs on: the gauge stays full and a second click skips again.
    if (Session::activeScene) {
        Session::activeScene->reset();
    }
}

int gaugeStep(float seconds) {
    return (int)(std::min(seconds / TIMEOUT, 1.0f) * GAUGE_STEPS + 1.0f);
}

} // namespace SkipTimer
