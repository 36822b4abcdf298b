#include "engine/InterfaceServices.h"
#include "engine/app/Engine.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Evaluator.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "script/DialogManager.h"
#include "script/Inventory.h"
#include "script/SayText.h"
#include "script/Speech.h"

#include "echon/AudioManager.h"
#include "nimboui/nimboui.h"
#include "vessot/Log.h"

#include <cstdlib>
#include <map>

namespace Session {

vessot::Array<String> commandQueue;

namespace {

constexpr size_t MAX_ARGUMENT = 100;
constexpr size_t MAX_TAIL = 1000;
constexpr int MAX_DRAIN = 1000;

// Commands that act on the active scene log and do nothing without one.
bool requireScene(const String& verb) {
    if (activeScene) {
        return true;
    }
    log("ERROR: command '" + verb + "' needs an active scene");
    return false;
}

// Whether the target ("chapter.scene" or a scene of the active chapter) lies in another chapter.
bool leavesTheChapter(const String& target) {
    String chapter;
    String scene;
    return target.split(".", chapter, scene) && (!activeScene || chapter != activeScene->chapter->getName());
}

void switchSceneCommand(const String& arguments) {
    vessot::Array<String> pieces = arguments.split(" ");
    const String& target = pieces[0];
    // A conversation goes on across a switch within its chapter and ends with a switch out of it.
    if (leavesTheChapter(target) && DialogPanel::isOpen()) {
        DialogManager::end();
        DialogPanel::update(100.0f);
    }
    if (pieces.size() == 1) {
        switchScene(target, "", "", 0.0f);
        return;
    }
    float duration = pieces[1].toFloat();
    String effect = pieces.size() >= 3 ? pieces[2] : String("fade");
    switchScene(target, effect, "", duration);
}

void sayCommand(const String& arguments) {
    std::map<String, String> texts = activeScene->chapter->getTexts();
    vessot::Array<String> pieces = arguments.split(" ");
    Speech::say(texts[pieces[0]]);
}

void callCommand(const String& arguments) {
    vessot::Array<String> pieces = arguments.split(".");
    nimboui::Dataset* dataset = nullptr;
    String callback = arguments;
    if (pieces.size() == 2) {
        dataset = nimboui::getDatasetByName(pieces[0]);
        if (!dynamic_cast<Chapter*>(dataset)) {
            throw nimboui::_GenericException("call: '" + pieces[0] + "' is not a chapter", "GenericException", __FILE__,
                                             __LINE__);
        }
        callback = pieces[1];
    } else {
        if (!requireScene("call")) {
            return;
        }
        dataset = activeScene->chapter;
    }
    // A named action that calls itself counts as deep nesting, as a reference to itself does.
    Actions::ReferenceDepth depth("call " + arguments);
    dataset->triggerCallback(callback);
}

void resetSceneCommand() {
    if (!requireScene("reset_scene")) {
        return;
    }
    if (activeScene->isActivating()) {
        // A scene that resets itself while it is being activated would activate without end.
        log("reset_scene during the activation of " + activeScene->getFullName() + " queued");
        queueCommand("reset_scene");
        return;
    }
    activeScene->reset();
}

// One command's words: the verb, its argument text (at most 100 characters) and that text split at
// its first blank into a name and a value ("set_var" and "inc_var"; without a blank the name is
// empty, which no variable has).
struct CommandArguments {
    String verb;
    String text;
    String name;
    String value;
};

using CommandHandler = void (*)(const CommandArguments&);

// The variable that "set_var" and "inc_var" name before their value; a command without one says so.
Variable* namedVariable(const CommandArguments& args, const char* valueForm) {
    if (args.name.empty()) {
        String command = args.text == args.verb ? args.verb : args.verb + " " + args.text;
        throw _UnknownVariableException("The command '" + command + "' names no variable: '" + args.verb + " NAME " +
                                            valueForm + "'",
                                        __FILE__, __LINE__);
    }
    return Vars::get(args.name);
}

// The command verbs and what each does; a verb the table lacks does nothing.
const std::map<String, CommandHandler> COMMANDS = {
    {"set_var", [](const CommandArguments& args) { namedVariable(args, "VALUE")->setValue(args.value, false); }},
    {"log", [](const CommandArguments& args) { log(args.text); }},
    {"reset_scene", [](const CommandArguments&) { resetSceneCommand(); }},
    {"add_item", [](const CommandArguments& args) { Inventory::addItem(args.text); }},
    {"remove_item", [](const CommandArguments& args) { Inventory::removeItem(args.text); }},
    {"remove_all_items",
     [](const CommandArguments& args) {
         while (Inventory::hasItem(args.text)) {
             Inventory::removeItem(args.text);
         }
     }},
    {"switch_scene", [](const CommandArguments& args) { switchSceneCommand(args.text); }},
    {"set_amp",
     [](const CommandArguments& args) {
         if (requireScene(args.verb)) {
             activeScene->actionMap = activeScene->chapter->getActionMap(args.text);
         }
     }},
    {"inc_var", [](const CommandArguments& args) { namedVariable(args, "NUMBER")->addInt(args.value.toInt()); }},
    {"dialog",
     [](const CommandArguments& args) {
         DialogManager::start(args.text);
         DialogManager::show();
     }},
    {"say",
     [](const CommandArguments& args) {
         if (requireScene(args.verb)) {
             sayCommand(args.text);
         }
     }},
    {"play_sound",
     [](const CommandArguments& args) {
         if (requireScene(args.verb)) {
             echon::mgr->play(activeScene->chapter->getFullSoundName(args.text), 0.0f, false, 1.0f);
         }
     }},
    {"call", [](const CommandArguments& args) { callCommand(args.text); }},
};

void runOne(const String& command) {
    size_t blank = command.find(' ');
    CommandArguments args;
    args.verb = blank == String::npos ? command : command.substr(0, blank);
    args.text = blank == String::npos ? command.substr(0, MAX_ARGUMENT) : command.substr(blank + 1, MAX_ARGUMENT);
    args.text.split(" ", args.name, args.value);
    auto handler = COMMANDS.find(args.verb);
    if (handler != COMMANDS.end()) {
        handler->second(args);
    }
}

} // namespace

void executeCommand(const String& commands) {
    String rest = commands;
    size_t separator;
    while ((separator = rest.find(';')) != String::npos) {
        runOne(rest.substr(0, separator));
        rest = rest.substr(separator + 1, MAX_TAIL);
    }
    runOne(rest);
}

void queueCommand(const String& command) {
    if (command == "reset_scene" && !commandQueue.empty() && commandQueue.last() == "reset_scene") {
        return;
    }
    commandQueue.add(command);
}

void drainCommandQueue() {
    int run = 0;
    while (!commandQueue.empty()) {
        if (run == MAX_DRAIN) {
            log("ERROR: more than " + String(MAX_DRAIN) + " commands in one update; the rest wait for the next one");
            return;
        }
        executeCommand(commandQueue.removeFirst());
        ++run;
    }
}

void log(const String& text) {
    vessot::Log::write("zeph", text);
}

float getTextPauseTime(const String& text) {
    float sum = SayText::scan(text, textMultiplier).pauseSum;
    return sum > 0.01f ? sum : 7.0f * textMultiplier;
}

bool checkCondition(const String& condition) {
    return Evaluator::evaluate(condition) == "1";
}

} // namespace Session
