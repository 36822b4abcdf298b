#include "ui/VerbCoin.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Viewport.h"
#include "script/Actions.h"
#include "ui/Hud.h"

#include "echon/AudioManager.h"
#include "nimboui/Animators.h"
#include "nimboui/nimboui.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace VerbCoin {

Actions::Multiple* target = nullptr;
String chosenVerb;
morvec::Vector2 centre;
bool firstClickGuard = false;

namespace {

enum Verb { LOOK, USE, TALK, COMBINE };

// The interface's space puts the virtual screen at x 480 to 906.
constexpr float SCREEN_LEFT = 480.0f;
constexpr float SCREEN_RIGHT = 906.0f;

// The generic look pair, made at its first use and kept for the run. The menu only borrows the
// clicked action, and is emptied when its coin closes.
std::unique_ptr<Actions::GenericText> genericUse;
std::unique_ptr<Actions::Multiple> genericMenu;

struct Slot {
    Verb verb;
    morvec::Vector2 at;
};

String buttonName(int verb) {
    return "choice_" + String(VERBS[verb]);
}

template <class T> T* animator(int verb, const char* kind) {
    return Hud::uiObjectOf<T>(buttonName(verb) + kind);
}

void playSound(const char* name) {
    if (echon::mgr) {
        echon::mgr->play(uiChapter->getFullSoundName(name), 0.0f, false, 1.0f);
    }
}

// The verb that runs without the coin showing; null when the coin opens.
Action* shortcut(Action* const actions[]) {
    Action* look = actions[LOOK];
    Action* use = actions[USE];
    Action* talk = actions[TALK];
    if (Hud::isCasualMode()) {
        if (talk && talk->getRolloverKey() != "ui.casual_use") {
            return talk;
        }
        if (use && use->getRolloverKey() == "ui.casual_use_only") {
            return use;
        }
        return use && use->getRolloverKey() != "ui.casual_use" ? look : nullptr;
    }
    if (look) {
        return use || talk ? nullptr : look;
    }
    if (use) {
        return talk ? nullptr : use;
    }
    return talk;
}

// The top-left corner of a button centred on the cursor, kept inside the visible band; lower when
// talk sits below the others.
morvec::Vector2 anchor(float s, bool talk) {
    float m = Viewport::getWidescreenOffset();
    morvec::Vector2 a = centre - morvec::Vector2(s / 2, s / 2);
    if (a.x < SCREEN_LEFT + s - m) {
        a.x = SCREEN_LEFT + s - m;
    } else if (a.x > SCREEN_RIGHT + m - 2 * s) {
        a.x = SCREEN_RIGHT + m - 2 * s;
    }
    if (a.y < s / 2 + 5) {
        a.y = s / 2 + 5;
    } else if (a.y > 290 - s) {
        a.y = 290 - s;
    }
    if (talk) {
        a.y = std::min(a.y, 315 - 2 * s);
    }
    return a;
}

// Where the present verbs' buttons go. With all four, combine is not laid out; combine alone sits at
// the anchor, and so does its button, running nothing, when no verb is present.
std::vector<Slot> layout(Action* const actions[], morvec::Vector2 a, float s) {
    bool look = actions[LOOK], use = actions[USE], talk = actions[TALK], combine = actions[COMBINE];
    morvec::Vector2 left(a.x - s + 5, a.y);
    morvec::Vector2 right(a.x + s - 5, a.y);
    morvec::Vector2 below(a.x, a.y + s);
    if (look && use) {
        if (talk) {
            return {{LOOK, left}, {USE, right}, {TALK, below}};
        }
        if (combine) {
            morvec::Vector2 up(0, s / 2);
            return {{LOOK, left - up}, {USE, right - up}, {COMBINE, below}};
        }
        return {{LOOK, left}, {USE, right}};
    }
    if (look) {
        return talk ? std::vector<Slot>{{LOOK, left}, {TALK, right}} : std::vector<Slot>{{LOOK, a}};
    }
    if (talk) {
        return use ? std::vector<Slot>{{TALK, left}, {USE, right}} : std::vector<Slot>{{TALK, a}};
    }
    if (use) {
        return combine ? std::vector<Slot>{{USE, left}, {COMBINE, right}} : std::vector<Slot>{{USE, a}};
    }
    return {{COMBINE, a}};
}

void showCoin(Actions::Multiple* menu, Action* const actions[]) {
    firstClickGuard = false;
    target = menu;
    chosenVerb = "";
    Hud::uiObjectOf<nimboui::Animators::AlphaFader>("choice_buttons_fader")->fade(1.0f, 0.2f);
    float s = Session::getParam("ui") == "mobile" ? 54.0f : 35.0f;
    centre = nimboui::getCursorPosition() + morvec::Vector2(SCREEN_LEFT, 0);
    morvec::Vector2 a = anchor(s, actions[TALK]);
    for (int verb = LOOK; verb <= COMBINE; ++verb) {
        nimboui::Object* button = uiChapter->getObject(buttonName(verb));
        button->setPosition(centre);
        button->setSize(0, 0);
        button->setAlpha(actions[verb] ? 1.0f : 0.0f);
    }
    for (const Slot& slot : layout(actions, a, s)) {
        animator<nimboui::Animators::Mover>(slot.verb, "_mover")->move(slot.at.x, slot.at.y, 0.15f);
        animator<nimboui::Animators::Scaler>(slot.verb, "_scaler")->scale(s, s, 0.15f);
        animator<nimboui::Animators::AlphaFader>(slot.verb, "_fader")->fade(1.0f, 0.05f);
    }
    if (!InventoryPanel::isOpen()) {
        Hud::hideButtons(true);
    }
    playSound("choice_open");
    Vars::get("choice_menu_active")->setValue("1", false);
}

void choose(int verb) {
    if (!target) {
        return;
    }
    Action* action = target->getAction(VERBS[verb]);
    // Recorded first: an action that switches the scene at once closes the coin on the way, and a
    // chosen verb is no dismissal.
    chosenVerb = VERBS[verb];
    if (action) {
        action->execute();
    }
    close();
}

} // namespace

bool isOpen() {
    return Hud::isUiObjectShown("choice_buttons");
}

void open(Actions::Multiple* menu) {
    Action* actions[4];
    for (int verb = LOOK; verb <= COMBINE; ++verb) {
        actions[verb] = menu->getAction(VERBS[verb]);
    }
    if (Action* lone = shortcut(actions)) {
        lone->execute();
        return;
    }
    showCoin(menu, actions);
}

void close() {
    if (!target) {
        return;
    }
    // Cleared before "cancel" runs: a cancel that switches the scene at once reaches close again.
    Actions::Multiple* closing = target;
    target = nullptr;
    if (chosenVerb.empty()) {
        if (Action* cancel = closing->getAction("cancel")) {
            cancel->execute();
        }
    }
    Hud::uiObjectOf<nimboui::Animators::AlphaFader>("choice_buttons_fader")->fade(0.0f, 0.2f);
    for (int verb = LOOK; verb <= COMBINE; ++verb) {
        if (chosenVerb == VERBS[verb]) {
            animator<nimboui::Animators::AlphaFader>(verb, "_fader")->fade(0.0f, 0.2f);
        } else {
            animator<nimboui::Animators::Mover>(verb, "_mover")->move(centre.x, centre.y, 0.1f);
            animator<nimboui::Animators::Scaler>(verb, "_scaler")->scale(0, 0, 0.1f);
        }
    }
    if (closing == genericMenu.get()) {
        genericMenu->clear();
    }
    if (!InventoryPanel::isOpen()) {
        Hud::showButtons(false);
    }
    playSound("choice_close");
    Vars::get("choice_menu_active")->setValue("0", false);
}

void showGenericLook(Action* clicked) {
    if (!genericMenu) {
        genericUse = std::make_unique<Actions::GenericText>("ui.GENERIC_0", "1,2,3,4,5,6,7,8");
        genericMenu = std::make_unique<Actions::Multiple>();
    }
    genericUse->setOwner(uiChapter);
    genericUse->setRolloverKey("");
    genericUse->setPrefix("{ " + Vars::value("current_character") + " }");
    genericMenu->setOwner(uiChapter);
    genericMenu->clear();
    genericMenu->borrowAction("look", "", clicked);
    genericMenu->borrowAction("use", "", genericUse.get());
    // A borrowed "Text" lends the menu its key; the generic menu keeps none.
    genericMenu->setRolloverKey("");
    open(genericMenu.get());
}

void registerEvents() {
    const std::pair<const char*, void (*)(nimboui::EventArgs*)> handlers[] = {
        {"choice_look", onLookClick},          {"choice_use", onUseClick},
        {"choice_talk", onTalkClick},          {"choice_combine", onCombineClick},
        {"choice_buttons", onBackgroundClick},
    };
    for (const auto& [name, handler] : handlers) {
        uiChapter->getObject(name)->registerEvent("Click", handler);
    }
}

void onLookClick(nimboui::EventArgs*) {
    choose(LOOK);
}

void onUseClick(nimboui::EventArgs*) {
    choose(USE);
}

void onTalkClick(nimboui::EventArgs*) {
    choose(TALK);
}

void onCombineClick(nimboui::EventArgs*) {
    choose(COMBINE);
}

void onBackgroundClick(nimboui::EventArgs*) {
    if (Hud::isUiObjectShown("inv") && !firstClickGuard) {
        firstClickGuard = true;
        return;
    }
    if (target) {
        close();
    }
}

} // namespace VerbCoin
