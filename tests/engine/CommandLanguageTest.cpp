// The command language without a running game: each verb, commands joined by ";", the length caps,
// the queue and its drain, the commands that need an active scene, and the pause time of texts.
#include "CoreFixture.h"
#include "GameRun.h"

#include "engine/app/Engine.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "script/Actions.h"

#include <memory>

namespace {

std::vector<std::string> events;

// Notes every switch it is asked for as "effect target duration".
class RecordingTransition : public TransitionManager {
public:
    explicit RecordingTransition(const String& effect) : effect(effect) {}
    void begin(const String& target, float duration, const String&) override {
        events.push_back(effect + " " + target + " " + String::fromFloat(duration));
    }
    bool update(float) override { return false; }
    void draw(DrawCallback) override {}

private:
    String effect;
};

void recordValue(Variable* variable, const String& newValue, const String&) {
    events.push_back(variable->name + "=" + newValue);
}

void queueFollowUp(Variable*, const String&, const String&) {
    Session::queueCommand("set_var seq c");
}

void requeueItself(Variable*, const String&, const String&) {
    Session::queueCommand("set_var loop 1");
}

} // namespace

class CommandLanguageTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        events.clear();
        Session::commandQueue.clear();
        Session::activeScene = nullptr;
        vessot::Log::setFilename(dir / "game.log", true);
        define("items", "")->addListener(Inventory::onItemsChanged);
        for (const char* name : {"a", "b", "c", "note", "seq"}) {
            define(name, "")->addListener(recordValue);
        }
        define("count", "5");
    }
    void TearDown() override {
        for (auto& [name, transition] : Session::transitions) {
            delete transition;
        }
        Session::transitions.clear();
        Session::activeScene = nullptr;
        vessot::Log::reset();
        CoreFixture::TearDown();
    }

    std::string log() { return readWholeFile(dir / "game.log"); }
    void registerTransitions() {
        for (const char* effect : {"", "fade", "zoom"}) {
            Session::transitions[effect] = new RecordingTransition(effect);
        }
    }

    TempDir dir;
};

TEST_F(CommandLanguageTest, JoinedCommandsRunInOrder) {
    Session::executeCommand("set_var a 1;set_var b 2;set_var a 3");
    EXPECT_EQ(events, (std::vector<std::string>{"a=1", "b=2", "a=3"}));
    // An empty piece and an unknown verb do nothing and log nothing.
    events.clear();
    std::string before = log();
    Session::executeCommand("jump high;;teleport");
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(log(), before);
}

TEST_F(CommandLanguageTest, SetVarKeepsBlanksInTheValue) {
    Session::executeCommand("set_var note hello world");
    EXPECT_EQ(Vars::value("note"), "hello world");
    EXPECT_THROW(Session::executeCommand("set_var missing 1"), _UnknownVariableException);
    // Without a blank in the argument text the name is empty, which no variable has: the message
    // names the command.
    const char* const nameless[][2] = {
        {"set_var note", "The command 'set_var note' names no variable: "
                         "'set_var NAME VALUE'"},
        {"set_var", "The command 'set_var' names no variable: 'set_var NAME VALUE'"},
        {"inc_var 3", "The command 'inc_var 3' names no variable: 'inc_var NAME NUMBER'"}};
    for (const auto& [command, message] : nameless) {
        try {
            Session::executeCommand(command);
            ADD_FAILURE() << command;
        } catch (const _UnknownVariableException& e) {
            EXPECT_EQ(e.message(), message);
        }
    }
    EXPECT_EQ(Vars::value("note"), "hello world");
}

TEST_F(CommandLanguageTest, IncVar) {
    Session::executeCommand("inc_var count 3");
    EXPECT_EQ(Vars::value("count"), "8");
    Session::executeCommand("inc_var count -10");
    EXPECT_EQ(Vars::value("count"), "-2");
    Session::executeCommand("inc_var count many");
    EXPECT_EQ(Vars::value("count"), "-2");
    Session::executeCommand("set_var count 2147483647;inc_var count 1");
    EXPECT_EQ(Vars::value("count"), "2147483647");
}

TEST_F(CommandLanguageTest, Items) {
    Session::executeCommand("add_item coin;add_item map;add_item coin;add_item rope");
    EXPECT_EQ(Vars::value("items"), "coin,map,coin,rope");
    Session::executeCommand("remove_item map");
    EXPECT_EQ(Vars::value("items"), "coin,coin,rope");
    Session::executeCommand("remove_all_items coin");
    EXPECT_EQ(Vars::value("items"), "rope");
    Session::executeCommand("remove_all_items coin");
    EXPECT_EQ(Vars::value("items"), "rope");
}

TEST_F(CommandLanguageTest, LogAndTheArgumentCap) {
    Session::executeCommand("log hello there");
    EXPECT_NE(log().find("[zeph] hello there\n"), std::string::npos);
    // A verb alone takes the whole command as its argument text.
    Session::executeCommand("log");
    EXPECT_NE(log().find("[zeph] log\n"), std::string::npos);
    // Everything after the verb is cut to 100 characters.
    Session::executeCommand("log " + std::string(100, 'x') + "yz");
    EXPECT_NE(log().find("[zeph] " + std::string(100, 'x') + "\n"), std::string::npos);
    Session::executeCommand("set_var note " + std::string(120, 'v'));
    EXPECT_EQ(Vars::value("note"), std::string(95, 'v'));
}

TEST_F(CommandLanguageTest, TailAfterASeparatorIsCutTo1000Characters) {
    // The tail after the first ";" holds "set_var b 2;" and 990 more characters before "set_var c 3".
    std::string tail = "set_var b 2;" + std::string(990, ' ') + ";set_var c 3";
    Session::executeCommand("set_var a 1;" + tail);
    EXPECT_EQ(Vars::value("a"), "1");
    EXPECT_EQ(Vars::value("b"), "2");
    EXPECT_EQ(Vars::value("c"), "");
    // A tail of exactly 1000 characters is kept whole.
    tail = "set_var b 2;" + std::string(976, ' ') + ";set_var c 3";
    Session::executeCommand("set_var a 1;" + tail);
    EXPECT_EQ(Vars::value("c"), "3");
}

TEST_F(CommandLanguageTest, QueueKeepsOneResetSceneInARow) {
    Session::queueCommand("reset_scene");
    Session::queueCommand("reset_scene");
    EXPECT_EQ(Session::commandQueue, (vessot::Array<String>{"reset_scene"}));
    Session::queueCommand("set_var a 1");
    Session::queueCommand("reset_scene");
    Session::queueCommand("reset_scene");
    EXPECT_EQ(Session::commandQueue, (vessot::Array<String>{"reset_scene", "set_var a 1", "reset_scene"}));
}

TEST_F(CommandLanguageTest, DrainRunsQueuedCommandsAfterTheWaitingOnes) {
    define("trigger", "")->addListener(queueFollowUp);
    Session::queueCommand("set_var trigger 1");
    Session::queueCommand("set_var seq b");
    Session::drainCommandQueue();
    EXPECT_EQ(events, (std::vector<std::string>{"seq=b", "seq=c"}));
    EXPECT_TRUE(Session::commandQueue.empty());
}

TEST_F(CommandLanguageTest, DrainRunsAtMostAThousandCommands) {
    for (int i = 0; i < 1500; ++i) {
        Session::queueCommand("inc_var count 1");
    }
    Session::drainCommandQueue();
    EXPECT_EQ(Vars::value("count"), "1005");
    EXPECT_EQ(Session::commandQueue.size(), 500);
    EXPECT_NE(log().find("[zeph] ERROR: more than 1000 commands in one update"), std::string::npos);
    Session::drainCommandQueue();
    EXPECT_EQ(Vars::value("count"), "1505");
    EXPECT_TRUE(Session::commandQueue.empty());
}

TEST_F(CommandLanguageTest, CommandThatRequeuesItselfDoesNotHang) {
    define("loop", "")->addListener(requeueItself);
    Session::queueCommand("set_var loop 1");
    Session::drainCommandQueue();
    EXPECT_EQ(Session::commandQueue, (vessot::Array<String>{"set_var loop 1"}));
}

TEST_F(CommandLanguageTest, SceneCommandsWithoutAnActiveSceneOnlyLog) {
    for (const char* command : {"reset_scene", "set_amp Galley", "say HELLO", "play_sound click", "call open"}) {
        EXPECT_NO_THROW(Session::executeCommand(command)) << command;
        std::string verb = String(command).split(" ")[0];
        EXPECT_NE(log().find("[zeph] ERROR: command '" + verb + "' needs an active scene"), std::string::npos)
            << command;
    }
}

TEST_F(CommandLanguageTest, SwitchScene) {
    registerTransitions();
    const std::pair<const char*, const char*> cases[] = {
        {"switch_scene Corridor", " Corridor 0"},
        {"switch_scene ship.Corridor 2", "fade ship.Corridor 2"},
        {"switch_scene Corridor 2 zoom", "zoom Corridor 2"},
        {"switch_scene Corridor 0.5 zoom ignored", "zoom Corridor 0.5"},
        {"switch_scene Corridor soon", "fade Corridor 0"},
    };
    for (const auto& [command, expected] : cases) {
        events.clear();
        Session::executeCommand(command);
        EXPECT_EQ(events, (std::vector<std::string>{expected})) << command;
    }
    // Two blanks make an empty duration and "2" the effect, which is not registered.
    EXPECT_THROW(Session::executeCommand("switch_scene Corridor  2"), nimboui::_GenericException);
}

TEST_F(CommandLanguageTest, CallRunsANamedActionOfAChapter) {
    Chapter room("test/room/room.datadef", nullptr);
    room.namedActions["open"] = new Actions::Execute("set_var a open");
    room.namedActions["a.b.c"] = new Actions::Execute("set_var a dotted");
    nimboui::Dataset plain("test/plain/plain.datadef", "plain");
    Session::executeCommand("call room.open");
    EXPECT_EQ(Vars::value("a"), "open");
    for (const char* command : {"call nowhere.open", "call plain.open"}) {
        String named = String(command).substr(5).split(".")[0];
        try {
            Session::executeCommand(command);
            FAIL() << command;
        } catch (const nimboui::_GenericException& e) {
            EXPECT_NE(e.message().find("'" + named + "'"), std::string::npos) << e.message();
        }
    }
    // One piece, or more than two: the whole text names an action of the active scene's chapter.
    auto hall = std::make_unique<Scene>(&room, "Hall");
    Session::activeScene = hall.get();
    Session::executeCommand("call open;set_var b 1");
    EXPECT_EQ(Vars::value("b"), "1");
    Session::executeCommand("call a.b.c");
    EXPECT_EQ(Vars::value("a"), "dotted");
    EXPECT_THROW(Session::executeCommand("call close"), nimboui::_GenericException);
    for (auto& [name, action] : room.namedActions) {
        delete action;
    }
    room.namedActions.clear();
}

TEST_F(CommandLanguageTest, TextPauseTime) {
    textMultiplier = 2.0f;
    const std::pair<const char*, float> cases[] = {
        {"Hello there.", 14.0f}, {"<p2>Hello there.", 2.0f}, {"Hello <p1.5> there.", 3.0f}, {"{ vorne }<p3>", 3.0f},
        {"<b><p1>", 1.0f},       {"<p1>a<p2>", 5.0f},        {"<p0.005>", 14.0f},           {"<pause>", 14.0f},
        {"<p", 14.0f},           {"<pinf>Hi", 14.0f},        {"<p1>a <pnan>", 1.0f},        {"<p-inf><p2>", 2.0f},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_FLOAT_EQ(Session::getTextPauseTime(text), seconds) << text;
    }
    textMultiplier = 1000.0f;
}
