// What the actions do when they run: on variables, the inventory, the command queue, speech, sounds,
// the scene and its objects; the numbered and generic lines; the nesting guard of named actions.
#include "ScriptFixture.h"

#include "engine/scene/ActionMap.h"
#include "engine/session/Evaluator.h"
#include "script/Actions.h"

#include "nimboui/Object.h"

#include <sstream>

namespace {

class ActionEffects : public ScriptFixture {
protected:
    // "name=value" words: "items" sets the inventory, "hand" the item in hand, others variables.
    static void apply(const std::string& state) {
        std::istringstream words(state);
        for (std::string word; words >> word;) {
            String name, value;
            String(word).split("=", name, value);
            if (name == "hand") {
                Inventory::setSelectedItem(value);
            } else {
                Vars::set(name, value);
            }
        }
    }

    static void expectState(const std::string& state, const std::string& row) {
        std::istringstream words(state);
        for (std::string word; words >> word;) {
            String name, value;
            String(word).split("=", name, value);
            String actual = name == "hand" ? Inventory::getSelectedItem() : Vars::value(name);
            EXPECT_EQ(actual, value) << row << ": " << name;
        }
    }

    static std::string queued() {
        std::string text;
        for (const String& command : Session::commandQueue) {
            text += (text.empty() ? "" : "|") + command;
        }
        return text;
    }
};

// Every row runs a clone whose prototype is already gone, from this starting state.
const char* const START = "door=shut other=open count=10 items= hand= target=ship.Galley panel_name=panel";

TEST_F(ActionEffects, EachActionOnVariablesItemsTheQueueAndTheLog) {
    struct Row {
        const char* action;
        const char* before;
        const char* after;
        const char* queued;
        const char* logged;
    } rows[] = {
        {"switch", "", "", "switch_scene lab.Other 2 zoom p", ""},
        {"switch_defaults", "", "", "switch_scene lab.Other 0.5 fade ", ""},
        {"switch_variable", "", "", "switch_scene ship.Galley 0.25", ""},
        {"reset", "", "", "reset_scene", ""},
        {"reference", "", "door=open", "reset_scene", ""},
        {"text", "", "", "", "say: First line."},
        {"say", "", "", "", "say: { luna }Hello there."},
        {"say_variant", "", "", "", "say: Hi, I am Vorne."},
        {"say_missing", "", "", "", "say: ERROR: text 'NOPE' not found!<p5>"},
        {"generic", "", "", "", "say: { vorne }Generic a."},
        {"generic_empty", "", "", "", "say: { vorne }Generic without a suffix."},
        {"dialog", "", "", "", "DEBUG_PRINT: the intro runs"},
        {"end_dialog", "", "", "", "EndDialog: unable to end dialog, dialog manager isn't active"},
        {"add", "items=map", "items=map,key", "reset_scene", "Inventory: added item key"},
        {"add_and_set", "", "items=key door=open", "", ""},
        {"remove", "items=key,map,key hand=key", "items=map,key hand=", "reset_scene", "removed item key"},
        {"remove_all", "items=key,map,key", "items=map", "reset_scene", ""},
        {"remove_every", "items=key,map hand=map", "items= hand=", "", "Inventory: cleared all items"},
        {"set_literal", "", "door=open", "reset_scene", ""},
        {"set_literal", "door=open", "door=open", "", ""},
        // The copied value equals the old one, but the text as written ("$other") does not.
        {"set_copy", "other=shut", "door=shut", "reset_scene", ""},
        {"set_has", "items=key", "door=1", "", ""},
        {"set_has", "", "door=0", "", ""},
        {"set_rand", "", "door=5", "", ""},
        {"set_rand_open", "", "door=3", "", ""},
        {"append", "", "door=shutab", "reset_scene", ""},
        {"append_copy", "other=x", "door=shutx", "", ""},
        {"print", "items=key", "", "", "DEBUG_PRINT: door=shut key=1 map=0 $ 100% $shut"},
        {"end", "", "", "", "Ending program (requested from Actions::EndProgram)"},
        {"lock", "", "", "", "Scene Locked"},
        {"unlock", "", "", "", "Scene Unlocked (wasn't previously unlocked)"},
        {"achieve", "", "", "", "Unlocking achievement: first_steps"},
        {"count", "", "count=9", "reset_scene", ""},
        {"count", "count=7up", "count=6", "reset_scene", ""},
        {"execute", "", "door=ajar items=map", "", ""},
        {"select", "", "hand=map", "", ""},
        {"clear", "", "", "", ""},
        {"command", "", "", "", ""},
    };
    for (const Row& row : rows) {
        std::string name = std::string(row.action) + " " + row.before;
        apply(START);
        apply(row.before);
        Session::sceneLocked = false;
        Session::commandQueue.clear();
        size_t start = log().size();
        orphanClone(row.action)->execute();
        expectState(row.after, name);
        EXPECT_EQ(queued(), row.queued) << name;
        EXPECT_NE(logSince(start).find(row.logged), std::string::npos) << name << "\n" << logSince(start);
    }
}

// Records the events that reach it.
class EventRecorder : public nimboui::Object {
public:
    EventRecorder() : nimboui::Object("EventRecorder", "recorder", morvec::Rectangle(0, 0, 1, 1)) {}
    void notifyEvent(const String& event, void* params) override {
        heard += event + ":" + static_cast<const char*>(params) + ";";
    }
    std::string heard;
};

TEST_F(ActionEffects, SoundsTheSceneAndObjects) {
    apply(START);
    orphanClone("play")->execute();
    EXPECT_TRUE(echon::mgr->isAnyPlaying("lab.beep"));
    orphanClone("stop")->execute();
    EXPECT_FALSE(echon::mgr->isAnyPlaying("lab.beep"));

    EventRecorder recorder; // detaches itself from the panel when destroyed
    lab->getObject("panel")->addChild(&recorder);
    orphanClone("event")->execute();
    EXPECT_EQ(recorder.heard, "Poke:x;");

    orphanClone("map")->execute();
    EXPECT_EQ(Session::activeScene->actionMap, lab->getActionMap("Other"));
    orphanClone("map_none")->execute();
    EXPECT_EQ(Session::activeScene->actionMap, Session::dummyActionMap);

    orphanClone("lock")->execute();
    EXPECT_TRUE(Session::sceneLocked);
    orphanClone("unlock")->execute();
    EXPECT_FALSE(Session::sceneLocked);

    // The characters chapter holds the characters; without it there is no one to place.
    EXPECT_THROW(orphanClone("place")->execute(), nimboui::_GenericException);
    // Actions on the scene need one.
    Session::activeScene = nullptr;
    EXPECT_THROW(orphanClone("map")->execute(), _ScriptException);
}

TEST_F(ActionEffects, NumberedLinesAreSharedByAllClonesAndOutliveThePrototype) {
    size_t start = log().size();
    named("text")->execute(); // the factory-made action itself says nothing
    EXPECT_EQ(logSince(start).find("say:"), std::string::npos);

    std::unique_ptr<Action> first = orphanClone("text");
    std::unique_ptr<Action> second(first->clone());
    std::unique_ptr<Action> third(second->clone());
    for (Action* clone : {first.get(), second.get(), third.get(), first.get()}) {
        clone->execute();
    }
    second.reset();
    third->execute();
    expectInOrder(logSince(start), {"[zeph] say: First line.", "[zeph] say: Second line.", "[zeph] say: First line.",
                                    "[zeph] say: Second line.", "[zeph] say: First line."});
}

TEST_F(ActionEffects, AGenericLineKeepsTheSpeakerOfItsFirstRunAndPassesItToItsClones) {
    size_t start = log().size();
    Action* generic = named("generic");
    generic->execute();
    Vars::set("current_character", "luna");
    generic->execute();
    std::unique_ptr<Action>(generic->clone())->execute();
    orphanClone("generic")->execute();
    expectInOrder(logSince(start), {"say: { vorne }Generic a.", "say: { vorne }Generic a.", "say: { vorne }Generic a.",
                                    "say: { luna }Generic a."});
}

TEST_F(ActionEffects, AClearedResetFlagQueuesNothing) {
    for (const char* name : {"set_literal", "count", "append", "reset"}) {
        apply(START);
        Session::commandQueue.clear();
        std::unique_ptr<Action> action = orphanClone(name);
        Actions::clearResetFlag(action.get());
        action->execute();
        // Only the variable actions have the flag; a plain reset still resets.
        EXPECT_EQ(Session::commandQueue.size(), std::string(name) == "reset" ? 1u : 0u) << name;
    }
}

TEST_F(ActionEffects, NamedActionsNestedTooDeepStopWithTheChain) {
    struct Row {
        const char* action;
        const char* chain;
    } rows[] = {
        {"loop", "loop -> loop -> loop"},
        {"ping", "ping -> pong -> ping -> pong"},
        {"recall", "call recall -> call recall"},
    };
    for (const Row& row : rows) {
        try {
            named(row.action)->execute();
            ADD_FAILURE() << row.action << " ran";
        } catch (const _ScriptException& e) {
            EXPECT_NE(e.message().find("more than 32 deep"), std::string::npos) << e.message();
            EXPECT_NE(e.message().find(row.chain), std::string::npos) << e.message();
        }
    }
    // 32 references inside one another are allowed, a 33rd is not; the count starts over afterwards.
    lab->registerNamedAction("deep_33", new Actions::SetVar("door", "deep", false));
    for (int i = 32; i >= 0; --i) {
        auto* reference = new Actions::Reference("deep_" + std::to_string(i + 1));
        reference->setOwner(lab);
        lab->registerNamedAction("deep_" + std::to_string(i), reference);
    }
    named("deep_1")->execute();
    EXPECT_EQ(Vars::value("door"), "deep");
    EXPECT_THROW(named("deep_0")->execute(), _ScriptException);
    Vars::set("door", "");
    named("deep_1")->execute();
    EXPECT_EQ(Vars::value("door"), "deep");
}

} // namespace
