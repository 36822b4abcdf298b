#include "ui/Cdialog.h"

#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Action.h"
#include "ui/Hud.h"

#include "nimboui/Animators.h"
#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"

namespace Cdialog {

bool hudButtonsWereShown = false;

namespace {

// The HUD buttons stand above this line while on screen; hidden, they have slid below it.
constexpr float HUD_BUTTONS_SHOWN_ABOVE = 313.0f;

const char* const BOX_BUTTONS[] = {"cdialog_yes_button", "cdialog_no_button", "cdialog_ach_ok_button",
                                   "cdialog_ach_post_button"};

nimboui::Object* object(const String& name) {
    return uiChapter->getObject(name);
}

void fade(const String& fader, float alpha, float seconds) {
    Hud::uiObjectOf<nimboui::Animators::AlphaFader>(fader)->fade(alpha, seconds);
}

void showAchievement(const String& id) {
    object("cdialog_achievement_container")->setVisible(true);
    object("cdialog_text_container")->setVisible(false);
    Hud::uiObjectOf<nimboui::ImageBox>("cdialog_ach_img")->setImageByName("achievements/" + id);
    Hud::uiObjectOf<nimboui::Label>("cdialog_ach_text")
        ->setTextKey("{[c:AFAFAF]%s[/c]\n%s} achievement_title_" + id + " achievement_unlocked_desc_" + id);
    object("cdialog_fb_overlay")->setVisible(false);
    object("cdialog_ach_ok_button")->registerEvent("Click", onAchievementOk);
}

void showQuestion(const String& textKey) {
    object("cdialog_achievement_container")->setVisible(false);
    object("cdialog_text_container")->setVisible(true);
    object("cdialog_yes_button")->registerEvent("Click", onButtonClick);
    object("cdialog_no_button")->registerEvent("Click", onButtonClick);
    Hud::uiObjectOf<nimboui::Label>("cdialog_text")->setTextKey(textKey);
}

void open(const String& request) {
    vessot::Array<String> fields = request.split(",");
    if (request.startsWith("achievement,")) {
        showAchievement(fields[1]);
    } else {
        showQuestion(fields[0]);
    }
    hudButtonsWereShown = object("hint_button")->getY() < HUD_BUTTONS_SHOWN_ABOVE;
    Hud::hideButtons(true);
    fade("cdialog_click_blocker_fader", 1.0f, 0.6f);
    fade("cdialog_fader", 1.0f, 0.2f);
}

void close(const String& oldValue) {
    for (const char* button : BOX_BUTTONS) {
        object(button)->registerEvent("Click", nullptr);
    }
    fade("cdialog_click_blocker_fader", 0.0f, 0.6f);
    fade("cdialog_fader", 0.0f, 0.2f);
    if (hudButtonsWereShown && !oldValue.empty()) {
        Hud::showButtons(false);
    }
}

// Empties the request in the live store (which closes the box) and in the snapshot, so that no
// save holds an open question.
void clearRequest() {
    Vars::get("cdialog")->setValue("", false);
    Vars::snapshot.get("cdialog")->setValue("", false);
}

} // namespace

void onVarChanged(Variable* variable, const String& newValue, const String& oldValue) {
    // The snapshot's copy of the variable carries this listener too; only the live one drives the box.
    auto live = Vars::variables.variables.find("cdialog");
    if (live == Vars::variables.variables.end() || variable != &live->second) {
        return;
    }
    if (newValue.empty()) {
        close(oldValue);
    } else {
        open(newValue);
    }
}

void answer(int choice) {
    String request = Vars::value("cdialog");
    clearRequest();
    if (request.empty()) {
        return;
    }
    vessot::Array<String> fields = request.split(",");
    // A request without the chosen field (scene data may write any value) runs nothing.
    String action = choice >= 0 && choice < fields.size() ? fields[choice] : String("none");
    if (action == "none" || action == "1") {
        return;
    }
    Session::activeScene->chapter->getNamedAction(action)->execute();
}

void onButtonClick(nimboui::EventArgs* args) {
    Hud::playClick();
    answer(args && args->object && args->object->getName() == "cdialog_yes_button" ? 1 : 2);
}

void onAchievementOk(nimboui::EventArgs*) {
    Hud::playClick();
    clearRequest();
}

} // namespace Cdialog
