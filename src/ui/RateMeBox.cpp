#include "ui/RateMeBox.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Hud.h"

#include "nimbo/MessageBox.h"
#include "nimboui/TextButton.h"
#include "tulm/System.h"

namespace UserInterface {

namespace RateMeBox {

namespace {

const char* const BUTTONS[] = {"rateme_yes", "rateme_no", "rateme_later"};
const char SELF[] = "ui.RateMeBox";

// The marker is its existence: an empty file, written as every player file is, so that a pipe or a
// device in its place cannot hold the answer.
void writeRatedMarker() {
    zephUtil::writePlayerFile(zephUtil::getUserDataPath() + "app_rated.txt", "");
}

void returnToGame(const String& effect, float seconds) {
    Session::switchScene(Vars::value("ratemebox_prev_scene"), effect, "", seconds);
}

} // namespace

void Box::onEnter() {
    const std::pair<const char*, void (*)(nimboui::EventArgs*)> handlers[] = {
        {BUTTONS[0], onRate}, {BUTTONS[1], onNo}, {BUTTONS[2], onLater}};
    for (const auto& [name, handler] : handlers) {
        auto* button = Hud::uiObjectOf<nimboui::TextButton>(name);
        button->registerEvent("Click", handler);
        if (button->getDisplayedText().empty()) {
            button->setVisible(false);
        }
    }
    // A switch into the box from the data names no way back: the scene it came from is it.
    Variable* back = Vars::get("ratemebox_prev_scene");
    String previous = Vars::value("prev_scene");
    if (Vars::value("active_scene") != previous && (back->getValue().empty() || back->getValue() == SELF)) {
        back->setValue(previous, false);
    }
}

Scene* create(Chapter* chapter) {
    Vars::variables.registerGetter("should_show_rateme_box", shouldShow);
    return new Box(chapter, "RateMeBox");
}

String shouldShow() {
    return "0";
}

void onRate(nimboui::EventArgs* args) {
    Hud::playClick();
    writeRatedMarker();
    if (args) {
        returnToGame("", 0.0f);
    }
    String url = GameUtil::getMoreGamesUrl();
    GameUtil::logMessage("opening the store page " + url);
    tulm::openUrl(url);
}

void onNo(nimboui::EventArgs*) {
    Hud::playClick();
    writeRatedMarker();
    returnToGame("fade", 0.5f);
}

void onLater(nimboui::EventArgs* args) {
    Hud::playClick();
    if (args) {
        returnToGame("fade", 0.5f);
    }
}

void close() {
    nimboui::EventArgs args(nullptr, 0.0f, 0.0f, "");
    onLater(&args);
}

} // namespace RateMeBox

void showRateMeBox(void*) {
    Vars::get("ratemebox_prev_scene")->setValue(Vars::value("active_scene"), false);
    nimbo::messageBox("", uiChapter->getText("RATEME_TEXT_IOS"), nimbo::MESSAGE_BUTTON_YES + nimbo::MESSAGE_BUTTON_NO,
                      nimbo::MESSAGE_STYLE_PLAIN,
                      {{nimbo::MESSAGE_BUTTON_YES, uiChapter->getText("RATEME_REVIEW_IOS")},
                       {nimbo::MESSAGE_BUTTON_NO, uiChapter->getText("RATEME_LATER_IOS")}},
                      onRateMeAnswer);
}

void onRateMeAnswer(int button) {
    if (button == nimbo::MESSAGE_BUTTON_YES) {
        RateMeBox::onRate(nullptr);
    } else {
        RateMeBox::onLater(nullptr);
    }
}

} // namespace UserInterface
