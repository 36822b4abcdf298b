// The flow, scene, dialog, speech and sound actions, and the nesting guard of named actions.
#include "script/Actions.h"

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Evaluator.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/DialogManager.h"
#include "script/Inventory.h"
#include "script/Speech.h"

#include "echon/AudioManager.h"
#include "nimbo/Nimbo.h"
#include "nimboui/Object.h"
#include "vessot/System.h"

#include <cctype>

namespace Actions {

namespace {

// The active scene; actions that act on it throw _ScriptException without one.
Scene* activeScene(const String& who) {
    if (!Session::activeScene) {
        throw _ScriptException(who + ": there is no active scene", __FILE__, __LINE__);
    }
    return Session::activeScene;
}

// The value of "$name", or the text itself.
String valueOrVariable(const String& text) {
    return text.startsWith("$") ? Vars::value(text.substr(1)) : text;
}

// The names of the named actions being run inside one another, outermost first.
std::vector<String> nesting;

} // namespace

ReferenceDepth::ReferenceDepth(const String& name) {
    if (!hasRoom()) {
        String chain;
        for (const String& outer : nesting) {
            chain += outer + " -> ";
        }
        throw _ScriptException("Named actions nested more than " + String(MAX_REFERENCE_DEPTH) +
                                   " deep (a loop?): " + chain + name,
                               __FILE__, __LINE__);
    }
    nesting.push_back(name);
}

ReferenceDepth::~ReferenceDepth() {
    nesting.pop_back();
}

bool ReferenceDepth::hasRoom() {
    return nesting.size() < (size_t)MAX_REFERENCE_DEPTH;
}

// ---------------------------------------------------------------- flow

Action* Reference::getAction() const {
    Action* action = nullptr;
    try {
        action = ownerChapter()->getNamedAction(ref);
    } catch (const nimboui::_GenericException&) {
        action = activeScene("Reference")->chapter->getNamedAction(ref);
    }
    if (!action) {
        throw nimboui::_GenericException("ReferenceAction: Action '" + ref + "' not found!", "GenericException",
                                         __FILE__, __LINE__);
    }
    return action;
}

void Reference::execute() {
    ReferenceDepth depth(ref);
    getAction()->execute();
}

void Multiple::execute() {
    VerbCoin::open(this);
}

Action* Multiple::clone() {
    auto* copy = new Multiple();
    for (const Entry& entry : entries) {
        copy->addAction(entry.verb, entry.condition, entry.action->clone());
    }
    return finishClone(copy);
}

void Multiple::append(const String& verb, const String& condition, Action* action, bool owns) {
    entries.push_back({verb, condition, action, std::unique_ptr<Action>(owns ? action : nullptr)});
    if (rolloverKey.empty() && action->getTypeName() == "Text") {
        rolloverKey = action->getRolloverKey();
    }
}

void Multiple::addAction(const String& verb, const String& condition, Action* action) {
    append(verb, condition, action, true);
}

void Multiple::borrowAction(const String& verb, const String& condition, Action* action) {
    append(verb, condition, action, false);
}

Action* Multiple::getAction(const String& verb) const {
    for (const Entry& entry : entries) {
        if (entry.verb == verb && Session::checkCondition(entry.condition)) {
            return entry.action;
        }
    }
    return nullptr;
}

void Composite::execute() {
    for (const Entry& entry : entries) {
        if (Evaluator::evaluate(entry.condition) == "1") {
            entry.action->execute();
        }
    }
}

Action* Composite::clone() {
    auto* copy = new Composite();
    for (const Entry& entry : entries) {
        copy->addAction(entry.condition, entry.action->clone());
    }
    return finishClone(copy);
}

void Composite::addAction(const String& condition, Action* action) {
    entries.push_back({condition, std::unique_ptr<Action>(action)});
}

Action* Composite::getOnlyTrueAction() const {
    Action* only = nullptr;
    for (const Entry& entry : entries) {
        if (Session::checkCondition(entry.condition)) {
            if (only) {
                return nullptr;
            }
            only = entry.action.get();
        }
    }
    return only;
}

void ItemAction::execute() {
    String item = Inventory::getSelectedItem();
    if (item.empty()) {
        item = "noitem";
    }
    Action* chosen = getAction(item);
    Inventory::setSelectedItem("");
    if (!chosen) {
        Speech::sayGenericLine();
        return;
    }
    if (chosen->getRolloverKey().empty() && !rolloverKey.empty()) {
        chosen->setRolloverKey(rolloverKey);
    }
    chosen->execute();
}

Action* ItemAction::getAction(const String& item) const {
    for (const Entry& entry : entries) {
        if (entry.item == item && Evaluator::evaluate(entry.condition) == "1") {
            return entry.action.get();
        }
    }
    return nullptr;
}

Action* ItemAction::clone() {
    auto* copy = new ItemAction();
    for (const Entry& entry : entries) {
        copy->addAction(entry.item, entry.condition, entry.action->clone());
    }
    return finishClone(copy);
}

void ItemAction::addAction(const String& item, const String& condition, Action* action) {
    if (action->getTypeName() == "Text") {
        rolloverKey = action->getRolloverKey();
    }
    entries.push_back({item, condition, std::unique_ptr<Action>(action)});
}

void DebugPrint::execute() {
    constexpr size_t MAX_NAME = 127;
    auto isNameCharacter = [](char c) { return std::isalnum((unsigned char)c) || c == '_'; };
    String result;
    for (size_t i = 0; i < text.size();) {
        char c = text[i++];
        size_t end = i;
        if (c == '$' || c == '%') {
            while (end < text.size() && end - i < MAX_NAME && isNameCharacter(text[end])) {
                ++end;
            }
        }
        // Other characters, and a marker followed by no name, are copied as they stand.
        if (end == i) {
            result += c;
            continue;
        }
        String name = text.substr(i, end - i);
        result += c == '$' ? Vars::value(name) : String(Inventory::hasItem(name) ? "1" : "0");
        i = end;
    }
    Session::log("DEBUG_PRINT: " + result);
}

void EndProgram::execute() {
    Session::log("Ending program (requested from Actions::EndProgram)");
    if (nimbo::window) {
        nimbo::window->terminateMainLoop();
    }
}

// ---------------------------------------------------------------- scenes

SwitchScene::SwitchScene(float fadeTime, const String& scene, const String& effect, const String& params)
    : fadeTime(fadeTime), scene(scene), effect(effect), params(params) {
    rolloverKey = "RO_" + scene.uppered();
}

void SwitchScene::execute() {
    // The target names its chapter when queued, so that it means the same scene whenever the queue
    // runs, also after another switch has changed the active chapter.
    String target = valueOrVariable(scene);
    if (!target.contains(".")) {
        Chapter* chapter = owner ? owner : activeScene("SwitchScene")->chapter;
        target = chapter->getName() + "." + target;
    }
    // String::fromFloat writes the same digits in every locale.
    String command = "switch_scene " + target + " " + String::fromFloat(fadeTime);
    if (!effect.empty()) {
        command += " " + effect + " " + params;
    }
    Session::queueCommand(command);
}

String SwitchScene::getFullSceneName() const {
    if (scene.contains(".")) {
        return scene;
    }
    String name = scene.contains("$") ? Vars::value(scene.substr(1)) : scene;
    if (name.contains(".")) {
        return name;
    }
    return activeScene("SwitchScene")->chapter->getName() + "." + name;
}

void ResetScene::execute() {
    Session::queueCommand("reset_scene");
}

void SetActionMap::execute() {
    Scene* scene = activeScene("SetActionMap");
    scene->actionMap = mapName == "None" ? Session::dummyActionMap : scene->chapter->getActionMap(mapName);
}

void LockScene::execute() {
    Session::lockScene();
}

void UnlockScene::execute() {
    Session::unlockScene();
}

void SendEventToObject::execute() {
    nimboui::Object* object = ownerChapter()->getObject(valueOrVariable(objectName));
    object->notifyEvent(event, (void*)params.c_str());
}

// ---------------------------------------------------------------- dialogs and achievements

void Dialog::execute() {
    DialogManager::start(dialogName);
    DialogManager::show();
}

void EndDialog::execute() {
    if (!DialogPanel::isOpen()) {
        Session::log("EndDialog: unable to end dialog, dialog manager isn't active");
        return;
    }
    DialogManager::end();
}

void UnlockAchievement::execute() {
    Achievements::showUnlockedPopup(achievement);
}

// ---------------------------------------------------------------- speech

Say::Say(const String& key) : key(key) {
    rolloverKey = "RO_" + key;
}

Action* Say::clone() {
    auto* copy = new Say(key);
    copy->prefix = prefix;
    return finishClone(copy);
}

String Say::getKey() const {
    Chapter* chapter = ownerChapter();
    if (chapter->textExists(key)) {
        return key;
    }
    String variant = key + "-" + Vars::value("current_character");
    return chapter->textExists(variant) ? variant : String();
}

String Say::getText() const {
    String used = getKey();
    // A key of neither form shows, and logs, the missing text's placeholder.
    return prefix + ownerChapter()->getText(used.empty() ? key : used);
}

void Say::execute() {
    Speech::say(key, getText());
}

Text::Text(const String& baseKey) : Say(baseKey), baseKey(baseKey) {}

Action* Text::clone() {
    auto* copy = new Text(baseKey);
    copy->prefix = prefix;
    // All clones take turns through the lines of the one number they share.
    copy->lineNumber = lineNumber;
    copy->lineCounter = lineNumber;
    return finishClone(copy);
}

void Text::execute() {
    if (!lineCounter) {
        return;
    }
    int& line = *lineCounter;
    String numbered = baseKey + "_0" + String(line);
    if (ownerChapter()->textExists(numbered)) {
        key = numbered;
    } else {
        line = 1;
        key = baseKey + "_01";
    }
    ++line;
    Say::execute();
}

GenericText::GenericText(const String& baseKey, const String& shuffle) : Say(""), baseKey(baseKey), shuffle(shuffle) {}

Action* GenericText::clone() {
    auto* copy = new GenericText(baseKey, shuffle);
    copy->prefix = prefix;
    return finishClone(copy);
}

void GenericText::execute() {
    // An empty list is one empty suffix.
    vessot::Array<String> suffixes = shuffle.split(",");
    key = baseKey + suffixes[vessot::rand() % (int)suffixes.size()];
    if (prefix.empty()) {
        prefix = "{ " + Vars::value("current_character") + " }";
    }
    Say::execute();
}

// ---------------------------------------------------------------- sounds

String SoundAction::getSoundName() const {
    return ownerChapter()->getFullSoundName(sound);
}

void PlaySoundW::execute() {
    echon::mgr->play(getSoundName(), fadeTime, loop, 1.0f);
}

void StopSound::execute() {
    echon::mgr->stop(getSoundName(), fadeTime);
}

} // namespace Actions
