#include "chapters/jama_spacea/Jama_spaceaChapter.h"

#include "chapters/SkipTimerPuzzle.h"
#include "chapters/jama_spacea/Jama_spaceaHints.h"
#include "engine/scene/Chapter.h"
#include "script/Actions.h"

namespace Jama_spacea {

float safeSkipTimer = 0.0f;

namespace {

const SkipTimerPuzzle SAFE = {
    "sfc_correct_internal",
    "Safe_skip_button",
    onSafeSkip,
    &safeSkipTimer,
    {{{"knob_1_state", "0"}, {"knob_2_state", "4"}, {"knob_3_state", "1"}, {"knob_4_state", "0"}}},
};

} // namespace

void createChapter() {
    // Registered with the GUI library by its name, "jama_spacea", which owns it from now on.
    new Chapter("data/chapters/jama_spacea/jama_spacea_hd.datadef", registerScenes);
    buildHintGraph();
}

void registerScenes(Chapter* chapter) {
    chapter->registerScene("Safe", new Safe(chapter, "Safe"));
    chapter->registerNamedAction("OnSafeSkip", new Actions::UserCallback(onSafeSkip, nullptr));
}

void Safe::onEnter() {
    SkipTimer::enter(SAFE, *this);
}

void Safe::onUpdate(float dt) {
    SkipTimer::update(SAFE, *this, dt);
}

void onSafeSkip(void*) {
    SkipTimer::skip(SAFE);
}

} // namespace Jama_spacea
