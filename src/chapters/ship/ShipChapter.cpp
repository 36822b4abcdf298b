#include "chapters/ship/ShipChapter.h"

#include "chapters/SkipTimerPuzzle.h"
#include "chapters/ship/ShipHints.h"
#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"

namespace Ship {

float routerSkipTimer = 0.0f;

namespace {

const SkipTimerPuzzle ROUTER = {
    "combination_correct",
    "Router_skip_button",
    onRouterSkip,
    &routerSkipTimer,
    {{{"red", "2"}, {"green", "1"}, {"blue", "2"}, {"yellow", "3"}}},
};

// The guide arrow on the smart-hint button, as the HUD reads it: x, y, angle, its condition, side.
const char* const HINT_ARROW_MOBILE = "398,270,-90,$smart_hint_button_visible == 0,right";
const char* const HINT_ARROW = "406,290,-90,$smart_hint_button_visible == 0 and $inv_item_in_selection == 0,right";

} // namespace

void createChapter() {
    // Registered with the GUI library by its name, "ship", which owns it from now on.
    new Chapter("data/chapters/ship/ship_hd.datadef", registerScenes);
    buildHintGraph();
}

void registerScenes(Chapter* chapter) {
    chapter->registerScene("Router", new Router(chapter, "Router"));
    chapter->registerScene("Cockpit", new Cockpit(chapter, "Cockpit"));
    chapter->registerNamedAction("OnRouterSkip", new Actions::UserCallback(onRouterSkip, nullptr));
}

void Router::onEnter() {
    SkipTimer::enter(ROUTER, *this);
}

void Router::onUpdate(float dt) {
    SkipTimer::update(ROUTER, *this, dt);
}

void onRouterSkip(void*) {
    SkipTimer::skip(ROUTER);
}

void Cockpit::onUpdate(float) {
    if (Vars::value("tutorial_state").toInt() != 41 || Vars::value("did_guided_hint_tutorial").toInt() != 0) {
        return;
    }
    Variable* arrow = Vars::get("tutorial_arrow");
    if (!DialogPanel::isOpen()) {
        arrow->setValue(Vars::value("zeph_target") == "mobile" ? HINT_ARROW_MOBILE : HINT_ARROW, true);
    }
    if (Session::sceneLocked) {
        arrow->setValue("", true);
    }
}

} // namespace Ship
