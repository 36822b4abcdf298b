#include "ui/Hintbook.h"

#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "ui/Hud.h"

#include "nimboui/Animators.h"
#include "nimboui/Label.h"
#include "runel/Renderer.h"

#include <algorithm>

namespace UserInterface {

namespace {

constexpr int SLOTS = 5;
constexpr float FIRST_LINE = 40.0f;
constexpr float MOVE_TIME = 0.25f;
// On the mobile interface the list scrolls once it is longer than this, by at most the second.
constexpr float MOBILE_VIEW_HEIGHT = 310.0f;
constexpr float MOBILE_MAX_SCROLL = 140.0f;

bool isMobile() {
    return Session::getParam("ui") == "mobile";
}

nimboui::Label* title(int slot) {
    return Hud::uiObjectOf<nimboui::Label>("hint" + String(slot) + "_title");
}

nimboui::Label* body(int slot) {
    return Hud::uiObjectOf<nimboui::Label>("hint" + String(slot));
}

// The text key of a task's line: the variable's name in capitals, "_0" and the line's number.
String lineKey(const Variable& task, int line) {
    return task.name.uppered() + "_0" + String(line);
}

void moveTo(nimboui::Object* object, const String& mover, float y) {
    Hud::uiObjectOf<nimboui::Animators::Mover>(mover)->move(object->getX(), y, MOVE_TIME);
}

// The slot of a clicked task object ("3" of "hint3") as an index into the book's shownHints, or -1
// when the active scene is not the book or the slot shows no task (a handler left on a slot that a
// later page emptied).
int shownIndex(const String& slot, Hintbook*& book) {
    book = dynamic_cast<Hintbook*>(Session::activeScene);
    int index = slot.toInt() - 1;
    if (!book || index < 0 || index >= (int)book->shownHints.size()) {
        return -1;
    }
    return index;
}

} // namespace

Hintbook::Hintbook(Chapter* chapter) : Scene(chapter, "Hintbook") {}

Scene* Hintbook::create(Chapter* chapter) {
    return new Hintbook(chapter);
}

void Hintbook::onEnter() {
    Hud::uiObjectOf<nimboui::Label>("hintbook_tooltip")
        ->setTextKey(Session::getParam("target") == "pc" ? "HINT_TOOLTIP_PC" : "HINT_TOOLTIP_IOS");
    uiChapter->getObject("hintbook_close")->registerEvent("Click", onHintbookClose);
    for (int slot = 1; slot <= SLOTS; ++slot) {
        title(slot)->setAlpha(0.0f);
        body(slot)->setAlpha(0.0f);
    }
    layout(true);
}

void Hintbook::layout(bool instant) {
    float y = FIRST_LINE;
    float width = isMobile() ? 411.0f : 326.0f;
    String expanded = Vars::value("expanded_hint");
    bool expandable = Vars::value("expandable_hints") == "1";
    bool laidOutBody = false;
    shownHints.clear();
    int slot = 1;
    for (auto& [name, task] : Vars::variables.variables) {
        if (slot > SLOTS) {
            break;
        }
        if (!name.startsWith("hint") || task.value == "0") {
            continue;
        }
        shownHints.push_back(&task);
        bool open = expanded == name;
        String s(slot);

        nimboui::Label* head = title(slot);
        head->setTextKey(lineKey(task, 0));
        head->setAlpha(1.0f);
        head->setHeight(head->getTextHeight());
        if (instant) {
            head->setY(y);
        } else {
            moveTo(head, "hint" + s + "_title_mover", y);
        }
        y += head->getHeight();
        head->registerEvent("Click", expandable ? nimboui::EventHandler(onHintTitleClick) : nullptr);
        head->setColor(nimbo::Color(open ? "003F00" : "000000"));
        head->setHoverColor(nimbo::Color(expandable ? "640000" : "000000"));

        String text;
        int lines = task.value.toInt();
        for (int line = 1; open && line < lines; ++line) {
            text += "  *  " + uiChapter->getText(lineKey(task, line)) + "\n";
        }
        // More lines to unlock (a task without a number counts as its title alone).
        if (open && uiChapter->textExists(lineKey(task, std::max(lines, 1)))) {
            text += "      . . .";
        }
        nimboui::Label* shown = body(slot);
        float h = runel::renderer->getTextHeight(shown->getFont(), text, width);
        GameUtil::logMessage(String::fromFloat(h));
        if (!text.empty()) {
            shown->setText(text);
            shown->registerEvent("Click", onHintBodyClick);
            shown->setHeight(h);
            shown->setWidth(width);
            if (!instant && shown->getAlpha() < 0.1f) {
                shown->setY(head->getY());
                moveTo(shown, "hint" + s + "_mover", y);
            } else {
                shown->setY(y);
            }
            y += h;
            laidOutBody = true;
            if (instant) {
                shown->setAlpha(1.0f);
            }
        }
        ++slot;
    }
    if (isMobile()) {
        bool scrolls = y > MOBILE_VIEW_HEIGHT && laidOutBody;
        uiChapter->getObject("hint_container")
            ->setY(scrolls ? -std::min(y - MOBILE_VIEW_HEIGHT, MOBILE_MAX_SCROLL) : 0);
        uiChapter->getObject("hintbook_tooltip")->setVisible(!scrolls);
    }
}

void Hintbook::fadeHint(int index, float target) {
    String slot(index + 1);
    body(index + 1)->setAlpha(1.0f - target);
    Hud::uiObjectOf<nimboui::Animators::AlphaFader>("hint" + slot + "_fader")->fade(target, MOVE_TIME);
}

void Hintbook::collapse() {
    String expanded = Vars::value("expanded_hint");
    for (size_t i = 0; i < shownHints.size(); ++i) {
        if (shownHints[i]->name == expanded) {
            fadeHint((int)i, 0.0f);
            return;
        }
    }
}

void Hintbook::onEntryClick(int index) {
    Hud::playClick();
    Variable* task = shownHints.at(index);
    bool changed = Vars::value("expanded_hint") != task->name;
    if (changed) {
        collapse();
        Vars::set("expanded_hint", task->name);
        Vars::set("casual_hint_expanded", "1");
        if (task->value != "1") {
            layout(false);
            fadeHint(index, 1.0f);
            return;
        }
    }
    int lines = task->value.toInt();
    if (!uiChapter->textExists(lineKey(*task, lines))) {
        return;
    }
    task->setValue(String(lines + 1), false);
    layout(false);
    if (changed) {
        fadeHint(index, 1.0f);
    }
}

void Hintbook::onTitleClick(int index) {
    if (Vars::value("expanded_hint") != shownHints.at(index)->name) {
        onEntryClick(index);
        return;
    }
    Hud::playClick();
    collapse();
    Vars::set("expanded_hint", "none");
    layout(false);
}

void onHintBodyClick(nimboui::EventArgs* args) {
    Hintbook* book = nullptr;
    int index = shownIndex(args->object->getName().substr(4), book);
    if (index >= 0) {
        book->onEntryClick(index);
    }
}

void onHintTitleClick(nimboui::EventArgs* args) {
    Hintbook* book = nullptr;
    int index = shownIndex(args->object->getName().substr(4, 1), book);
    if (index >= 0) {
        book->onTitleClick(index);
    }
}

void onHintbookClose(nimboui::EventArgs*) {
    Hud::playClick();
    String previous = Vars::value("prev_scene");
    if (!previous.contains("ui.")) {
        Vars::set("active_scene", previous);
    }
    Session::switchScene(previous, "fade", "", 0.5f);
}

} // namespace UserInterface
