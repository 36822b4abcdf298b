#pragma once
// The running game (the cockpit of the ship's chapter, where Vorne stands) for the tests of speech,
// dialogs, the reply menu and the character switcher: dialogs added to the chapter from text, the reply
// labels as shown, and the frame a character shows.
#include "engine/RunningGame.h"

#include "script/Character2D.h"
#include "script/Dialog.h"
#include "script/DialogManager.h"
#include "script/Speech.h"
#include "ui/DialogPanel.h"
#include "ui/Hud.h"

#include "nimboui/Label.h"
#include "vessxml/Xml.h"

#include <string>
#include <vector>

// A job of a type name that counts the time it is given and ends when told.
class CountingJob : public Marionix::Job {
public:
    explicit CountingJob(const vessot::String& type) : type(type) {}
    Marionix::Job* clone() const override { return new CountingJob(type); }
    void update(float dt) override { given.push_back(dt); }
    bool isDone() override { return false; }
    vessot::String getTypeName() const override { return type; }
    void start() override {}

    vessot::String type;
    std::vector<float> given;
};

class TalkGame : public RunningGame {
protected:
    void TearDown() override {
        Speech::clear();
        DialogManager::forget();
        RunningGame::TearDown();
    }

    // Adds the dialogs of a dialog file's text to the active scene's chapter; answers the node count.
    static int addDialogs(const std::string& xml) {
        vessxml::Document document = vessxml::Document::parse(xml, "test.dlg");
        Chapter* chapter = Session::activeScene->chapter;
        return DialogManager::loadElements(document.getRoot(), chapter->dialogs, chapter);
    }
    static Dialog* dialog(const vessot::String& name) { return Session::activeScene->chapter->getDialog(name); }
    // As the "dialog" command does.
    static void talk(const vessot::String& name) {
        DialogManager::start(name);
        DialogManager::show();
    }
    // Skips lines, as clicks on the panel do, until the replies show (at most 20).
    static void skipToReplies() {
        for (int i = 0; i < 20 && !DialogPanel::areRepliesShown() && DialogManager::currentNode; ++i) {
            DialogPanel::skipSpeechLine();
        }
    }

    static nimboui::Label* label(int index) { return DialogPanel::replyLabel(index); }
    // The visible reply labels from the top: their texts, and " (dim)" for those drawn dimmed.
    static std::vector<std::string> shownReplies() {
        std::vector<std::string> shown;
        for (int i = DialogPanel::MAX_REPLIES - 1; i >= 0; --i) {
            if (label(i)->isVisible()) {
                shown.push_back(label(i)->getText() + (label(i)->getAlpha() < 1.0f ? " (dim)" : ""));
            }
        }
        return shown;
    }
    static std::vector<std::string> currentReplies() {
        std::vector<std::string> texts;
        for (DialogReply* reply : DialogPanel::currentReplies) {
            texts.push_back(reply->text);
        }
        return texts;
    }
    // The piece a speaker shows now; "" when it says nothing.
    static vessot::String saying(const vessot::String& speaker) {
        auto found = Speech::speechMap.find(speaker);
        return found == Speech::speechMap.end() ? vessot::String() : found->second.front().text;
    }

    // The current character (Vorne) standing idle, facing south.
    static Character2D* vorne() { return standCharacter(150, 250); }
    // The animation of the frame the character shows ("Talk", "Stand", ...).
    static std::string showing(Character2D* character) {
        std::string image = character->getImageName();
        size_t slash = image.rfind('/');
        return image.substr(slash + 1, image.find('_', slash) - slash - 1);
    }
};
