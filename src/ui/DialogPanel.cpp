#include "ui/DialogPanel.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Dialog.h"
#include "script/DialogManager.h"
#include "script/Speech.h"
#include "ui/Hud.h"

#include "nimbo/Color.h"
#include "nimbo/Keys.h"
#include "nimboui/Exception.h"
#include "nimboui/Label.h"
#include "runel/Renderer.h"

#include <cmath>
#include <set>

namespace DialogPanel {

std::vector<DialogReply*> currentReplies;
int highlightedReply = -1;
float shakeTimer = 0.0f;

namespace {

const nimbo::Color LABEL_COLOUR(255, 255, 255, 255);
const nimbo::Color HIGHLIGHT_COLOUR(255, 127, 0, 255);
// The width the reply texts are laid out at, and the smallest font scale that keeps shrinking.
constexpr float REPLY_WIDTH = 416.0f;
constexpr float MIN_SCALE = 0.7f;
constexpr float SCALE_STEP = 0.025f;

int replyCount() {
    return (int)currentReplies.size();
}

// The choice goes to the dialog runner after the replies are forgotten, so that a menu the reply
// leads to at once keeps its own.
void choose(int index, bool hideLabels) {
    DialogReply* reply = currentReplies[index];
    currentReplies.clear();
    if (hideLabels) {
        setReplyCount(0);
    }
    DialogManager::enterNode(reply);
}

void highlight(int index) {
    highlightedReply = index;
    resetReplyColours();
    replyLabel(replyCount() - 1 - index)->setColor(HIGHLIGHT_COLOUR);
}

} // namespace

String fitReplyFont(const String& text, float base) {
    float scale = base;
    auto height = [&](const String& shown) {
        return runel::renderer->getTextHeight("hheaven:" + String(scale), shown, REPLY_WIDTH);
    };
    while (height(text) > height("X") && scale > MIN_SCALE) {
        scale -= SCALE_STEP;
    }
    return "hheaven:" + String(scale);
}

nimboui::Label* replyLabel(int index) {
    String name = "reply_" + String(index);
    auto* label = dynamic_cast<nimboui::Label*>(Hud::uiObject(name));
    if (!label) {
        throw nimboui::_GenericException("The interface has no label '" + name + "'", "GenericException", __FILE__,
                                         __LINE__);
    }
    return label;
}

bool isOpen() {
    return Hud::isUiObjectShown("dialog");
}

bool areRepliesShown() {
    return Hud::isUiObjectShown("reply_0");
}

void setReplyCount(int count) {
    highlightedReply = -1;
    for (int i = 0; i < MAX_REPLIES; ++i) {
        nimboui::Label* label = replyLabel(i);
        label->setColor(LABEL_COLOUR);
        label->setVisible(i < count);
    }
    if (nimboui::Object* container = Hud::uiObject("reply_container")) {
        container->setY(-320.0f);
    }
    if (count == 0) {
        currentReplies.clear();
    }
}

void resetReplyColours() {
    for (int i = 0; i < MAX_REPLIES; ++i) {
        replyLabel(i)->setColor(LABEL_COLOUR);
    }
}

void showReplies(const std::vector<DialogReply*>& replies) {
    currentReplies = replies;
    if (replyCount() > MAX_REPLIES) {
        auto* menu = dynamic_cast<DialogMenu*>(currentReplies.front()->parent);
        GameUtil::logMessage("ERROR! Menu '" + (menu ? menu->name : String()) + "' offers " + String(replyCount()) +
                             " replies; only the first " + String(MAX_REPLIES) + " are shown");
        currentReplies.resize(MAX_REPLIES);
    }
    int n = replyCount();
    setReplyCount(n);
    bool numbered = Session::getParam("target") == "pc";
    float base = Session::getParam("ui") == "mobile" ? 1.3f : 1.0f;
    Chapter* chapter = DialogManager::activeChapter();
    for (int i = 0; i < n; ++i) {
        DialogReply* reply = currentReplies[i];
        String text = chapter->getText(reply->text);
        if (numbered) {
            text = String(i + 1) + ": " + text;
        }
        nimboui::Label* label = replyLabel(n - 1 - i);
        label->setText(text);
        label->setFont(fitReplyFont(text, base));
        std::set<DialogMenu*> visited;
        for (Dialog* menu : DialogManager::getStack()) {
            visited.insert(static_cast<DialogMenu*>(menu));
        }
        label->setAlpha(DialogManager::isReplyExhausted(reply, visited) ? 0.6f : 1.0f);
    }
}

float sayLine(DialogEntry* entry) {
    setReplyCount(0);
    GameUtil::logMessage("Dialog: " + entry->text);
    Chapter* chapter = DialogManager::activeChapter();
    String key = entry->text;
    String variant = key + "-" + Vars::value("current_character");
    if (!chapter->textExists(key) && chapter->textExists(variant)) {
        key = variant;
    }
    String speaker = entry->chr.startsWith("$") ? Vars::value(entry->chr.substr(1)) : entry->chr;
    String text = chapter->getText(key);
    Speech::say(key, "{ " + speaker + " }" + text);
    return Session::getTextPauseTime(text);
}

void onReplyClick(nimboui::EventArgs* args) {
    String left;
    String number;
    args->object->getName().split("_", left, number);
    int index = replyCount() - number.toInt() - 1;
    // Labels still on screen after a key choice name no reply.
    if (index >= 0 && index < replyCount()) {
        choose(index, true);
    }
}

void handleReplyKey(int key) {
    int n = replyCount();
    if (!isOpen() || !areRepliesShown() || n == 0) {
        return;
    }
    if (key >= nimbo::KEY_0 + 1 && key <= nimbo::KEY_0 + 9) {
        int index = key - nimbo::KEY_0 - 1;
        if (index < n) {
            choose(index, false);
        }
    } else if (key == nimbo::KEY_LEFT || key == nimbo::KEY_UP) {
        highlight(highlightedReply > 0 ? highlightedReply - 1 : n - 1);
    } else if (key == nimbo::KEY_RIGHT || key == nimbo::KEY_DOWN) {
        highlight(highlightedReply < n - 1 ? highlightedReply + 1 : 0);
    } else if ((key == nimbo::KEY_SPACE || key == nimbo::KEY_ENTER) && highlightedReply >= 0 && highlightedReply < n) {
        choose(highlightedReply, false);
    }
}

void skipSpeechLine() {
    if (Vars::value("textmode_exception") == "1" || areRepliesShown() || !Speech::isSpeaking()) {
        return;
    }
    // A line spoken outside a conversation is skipped as well; only a running one counts it down.
    float skipped = Speech::skipCurrentLine();
    if (DialogManager::currentNode) {
        DialogManager::currentNode->update(skipped);
    }
}

void update(float step) {
    if (DialogManager::currentNode) {
        DialogManager::currentNode->update(step);
    }
    if (shakeTimer > 0.0f) {
        shakeTimer -= step;
        float offset = shakeTimer > 0.0f ? 10.0f * std::fabs(std::sin(15.0f * shakeTimer)) : 0.0f;
        if (nimboui::Object* container = Hud::uiObject("reply_container")) {
            container->setX(offset);
        }
    }
}

void setVisible(bool visible) {
    if (nimboui::Object* panel = Hud::uiObject("dialog")) {
        panel->setVisible(visible);
    }
    if (!visible && !Session::sceneLocked) {
        Hud::showButtons(false);
    }
}

void close() {
    setVisible(false);
    Speech::clear();
    setReplyCount(0);
}

void registerEvents() {
    for (int i = 0; i < MAX_REPLIES; ++i) {
        replyLabel(i)->registerEvent("Click", onReplyClick);
    }
    uiChapter->getObject("dialog_click_blocker")->registerEvent("Click", [](nimboui::EventArgs*) { skipSpeechLine(); });
}

} // namespace DialogPanel
