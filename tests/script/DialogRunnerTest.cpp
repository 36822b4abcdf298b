// The dialog runner on the running game: the menu stack, replies that bring nothing new, one-time
// replies and recorded choices, the ways a conversation ends, references, jobs and empty menus.
#include "TalkGame.h"

#include "engine/session/Evaluator.h"
#include "script/Actions.h"

#include <functional>
#include <set>

namespace {

class DialogRunner : public TalkGame {
protected:
    static std::vector<Dialog*> stack() { return DialogManager::getStack(); }
    static DialogReply* reply(const char* menu, size_t index) {
        return static_cast<DialogMenu*>(dialog(menu))->replies.at(index);
    }
};

TEST_F(DialogRunner, EnteringAnEnclosingMenuAgainForgetsTheMenusEnteredSince) {
    addDialogs(R"(<D>
        <Menu name="a"><Reply text="ASK_COURSE"><Redirect to="b"/></Reply></Menu>
        <Menu name="b"><Reply text="ASK_OXYGEN"><Dialog chr="luna" text="GO_BACK"/></Reply></Menu>
        <Sequence name="s"><Dialog chr="luna" text="GO_BACK"/></Sequence>
    </D>)");
    DialogManager::enterNode(dialog("a"));
    DialogManager::enterNode(dialog("b"));
    EXPECT_EQ(stack(), (std::vector<Dialog*>{dialog("a"), dialog("b")}));
    for (Dialog* node : {dialog("s"), static_cast<Dialog*>(reply("b", 0)), reply("b", 0)->children[0]}) {
        DialogManager::enterNode(node);
        EXPECT_EQ(DialogManager::currentNode, node);
        EXPECT_EQ(stack().size(), 2u);
    }
    DialogManager::enterNode(dialog("a"));
    EXPECT_EQ(stack(), std::vector<Dialog*>{dialog("a")});

    Hud::uiObject("dialog")->setVisible(true);
    for (int i = 0; i < 2; ++i) {
        DialogManager::start("__END__");
        EXPECT_FALSE(DialogPanel::isOpen());
        EXPECT_EQ(DialogManager::currentNode, nullptr);
        EXPECT_TRUE(stack().empty());
    }
}

TEST_F(DialogRunner, AReplyIsExhaustedOnceChosenWhenItsFollowingMenuOffersNothingNew) {
    addDialogs(R"(<D>
        <Menu name="top">
            <Reply text="NEVER_R"/>
            <Reply text="LEAF_R"><Dialog chr="luna" text="GO_BACK"/></Reply>
            <Reply text="SUB_R"><Dialog chr="luna" text="GO_BACK"/><Redirect to="sub"/></Reply>
            <Reply text="LOOP_R"><Redirect to="top"/></Reply>
            <Reply text="REF_R"><Reference ref="on_to_sub"/></Reply>
            <Reply text="END_R"><Redirect to="__END__"/></Reply>
            <Reply text="SEQ_R"><Redirect to="on_to_sub"/></Reply>
        </Menu>
        <Menu name="sub">
            <Reply text="ONE_S"><Dialog chr="luna" text="GO_BACK"/></Reply>
            <Reply text="KEEP_S" persistent="1"/>
            <Reply text="HIDDEN_S" condition="$pipe_fixed==1"/>
        </Menu>
        <Sequence name="on_to_sub"><Dialog chr="luna" text="GO_BACK"/><Redirect to="sub"/></Sequence>
    </D>)");
    struct Row {
        const char* flags;
        size_t reply;
        bool exhausted;
    } rows[] = {
        {"", 0, false},
        {";LEAF_R", 1, true},
        // The test is a substring test: a longer chosen key counts for the shorter.
        {";LEAF_RX", 1, true},
        {";SUB_R", 2, false},
        // The persistent reply and the one whose condition fails do not count.
        {";SUB_R;ONE_S", 2, true},
        {";REF_R", 4, false},
        {";REF_R;ONE_S", 4, true},
        {";END_R", 5, true},
        // A redirect to a sequence leads to no menu.
        {";SEQ_R", 6, true},
        {";LOOP_R", 3, false},
        // The way back to a menu already visited counts as exhausted, so the loop ends.
        {";NEVER_R;LEAF_R;SUB_R;ONE_S;LOOP_R;REF_R;END_R;SEQ_R", 3, true},
    };
    for (const Row& row : rows) {
        Vars::set("ship_dlgflags", row.flags);
        std::set<DialogMenu*> visited;
        EXPECT_EQ(DialogManager::isReplyExhausted(reply("top", row.reply), visited), row.exhausted)
            << row.flags << " " << reply("top", row.reply)->text;
    }
    // Every reply of a menu is looked at, also after one that is not exhausted: the way to "sub"
    // comes after a reply never chosen.
    Vars::set("ship_dlgflags", ";LOOP_R;SUB_R");
    std::set<DialogMenu*> visited;
    EXPECT_FALSE(DialogManager::isReplyExhausted(reply("top", 3), visited));
    EXPECT_EQ(visited, (std::set<DialogMenu*>{static_cast<DialogMenu*>(dialog("top")),
                                              static_cast<DialogMenu*>(dialog("sub"))}));
    EXPECT_EQ(DialogManager::getFollowingMenu(reply("top", 4)), dialog("sub"));
}

TEST_F(DialogRunner, ChoicesAreRecordedOnceOneTimeRepliesGoAndTheMenuComesBackAfterEachReply) {
    talk("intercom");
    skipToReplies();
    EXPECT_EQ(currentReplies(), (std::vector<std::string>{"ASK_COURSE", "ASK_SYSTEMS", "SAY_GOODBYE"}));

    DialogManager::enterNode(reply("intercom_menu", 0));
    EXPECT_EQ(var("onetime_dialogs"), "ASK_COURSE,");
    EXPECT_EQ(var("ship_dlgflags"), ";ASK_COURSE");
    // The reference runs the report inline; its last line done, the menu is back without the one-time
    // reply.
    skipToReplies();
    EXPECT_EQ(DialogManager::currentNode, dialog("intercom_menu"));
    EXPECT_EQ(currentReplies(), (std::vector<std::string>{"ASK_SYSTEMS", "SAY_GOODBYE"}));

    for (int i = 0; i < 2; ++i) {
        DialogManager::enterNode(reply("intercom_menu", 1));
        skipToReplies();
        EXPECT_EQ(DialogManager::currentNode, dialog("systems_menu"));
        DialogManager::enterNode(reply("systems_menu", 2));
    }
    EXPECT_EQ(var("ship_dlgflags"), ";ASK_COURSE;ASK_SYSTEMS");

    // The persistent goodbye records nothing and ends the conversation after its line.
    DialogManager::enterNode(reply("intercom_menu", 2));
    EXPECT_TRUE(DialogPanel::isOpen());
    skipToReplies();
    DialogPanel::update(0.0f);
    EXPECT_FALSE(DialogPanel::isOpen());
    EXPECT_EQ(DialogManager::currentNode, nullptr);
    EXPECT_EQ(var("ship_dlgflags"), ";ASK_COURSE;ASK_SYSTEMS");
    EXPECT_EQ(var("onetime_dialogs"), "ASK_COURSE,");
}

TEST_F(DialogRunner, EveryWayOutOfAConversationForgetsItsNodeAndMenus) {
    struct Row {
        const char* way;
        std::function<void()> end;
        bool panelCloses;
        bool ends = true;
    } rows[] = {
        {"__END__", [] { DialogManager::start("__END__"); }, true},
        {"EndDialog", [] { Actions::EndDialog().execute(); }, true},
        {"switch_scene command", [] { Session::executeCommand("switch_scene jama_spacea.Landing"); }, true},
        // A switch that is no command unloads the chapter whose dialogs run; the panel stays.
        {"chapter unload", [] { switchNow("jama_spacea.Landing"); }, false},
        {"switch_scene within the chapter", [] { Session::executeCommand("switch_scene ship.Corridor"); }, false,
         false},
    };
    for (const Row& row : rows) {
        switchNow("ship.Galley");
        talk("intercom");
        skipToReplies();
        // A line of a reply is spoken, with the menu on the stack.
        DialogManager::enterNode(reply("intercom_menu", 1));
        ASSERT_FALSE(stack().empty()) << row.way;
        ASSERT_TRUE(Speech::isSpeaking()) << row.way;
        row.end();
        EXPECT_EQ(DialogManager::currentNode == nullptr, row.ends) << row.way;
        EXPECT_EQ(stack().empty(), row.ends) << row.way;
        EXPECT_EQ(DialogPanel::isOpen(), !row.panelCloses) << row.way;
        Hud::uiObject("dialog")->setVisible(false);
        DialogManager::forget();
    }
}

TEST_F(DialogRunner, ReferencesInALoopStopWithAnErrorNamingTheReference) {
    addDialogs(R"(<D>
        <Sequence name="round"><Reference ref="round"/></Sequence>
        <Menu name="m"><Reply text="ASK_PIPE"><Reference ref="tail"/></Reply></Menu>
        <Sequence name="tail"><Dialog chr="luna" text="GO_BACK"/><Reference ref="tail"/></Sequence>
        <Sequence name="told"><Reference ref="line"/></Sequence>
        <Sequence name="line"><Dialog chr="luna" text="GO_BACK"/></Sequence>
    </D>)");
    const std::pair<const char*, std::function<void()>> loops[] = {
        {"'round'", [] { talk("round"); }},
        {"'tail'", [] { DialogManager::getFollowingMenu(reply("m", 0)); }},
    };
    for (const auto& [named, loop] : loops) {
        try {
            loop();
            ADD_FAILURE() << "no error for " << named;
        } catch (const _ScriptException& e) {
            EXPECT_NE(e.message().find(named), std::string::npos) << e.message();
        }
    }
    // A reference that has ended counts toward no loop, however often it is taken.
    for (int i = 0; i <= DialogManager::MAX_REFERENCE_STEPS; ++i) {
        ASSERT_NO_THROW(talk("told")) << i;
    }
}

TEST_F(DialogRunner, JobsReferencesToTheEndAndSequencesWithNothingToRunAreDoneAtOnce) {
    addDialogs(R"(<D>
        <Sequence name="job"><Job chr="danny" type="Pause" time="5"/><Action type="SetVar" var="oxygen_checked" value="job" reset="false"/></Sequence>
        <Sequence name="to_end"><Reference ref="__END__"/><Action type="SetVar" var="oxygen_checked" value="end" reset="false"/></Sequence>
        <Sequence name="nothing"><Dialog chr="luna" text="GO_BACK" condition="$oxygen_checked==never"/></Sequence>
        <Menu name="empty"><Reply text="ASK_PIPE" condition="$oxygen_checked==never"/></Menu>
    </D>)");
    // The character of the job stands in no scene: the job queued nothing and is done.
    for (const char* name : {"job", "to_end"}) {
        talk(name);
        DialogPanel::update(0.1f);
        EXPECT_EQ(var("oxygen_checked"), name == std::string("job") ? "job" : "end");
    }
    // Vorne stands in the cockpit: the dialog waits until her queue has run.
    addDialogs(
        R"(<D><Sequence name="shown"><Job chr="vorne" type="Pause" time="0.5"/><Action type="SetVar" var="oxygen_checked" value="shown" reset="false"/></Sequence></D>)");
    talk("shown");
    DialogPanel::update(0.1f);
    EXPECT_EQ(Characters::getCurrentCharacter()->getCurrentJobType(), "Pause");
    EXPECT_EQ(var("oxygen_checked"), "end");
    game->stepSeconds(1.0f);
    EXPECT_EQ(var("oxygen_checked"), "shown");
    talk("nothing");
    EXPECT_TRUE(DialogManager::currentNode->isDone());
    EXPECT_FALSE(Speech::isSpeaking());

    // A menu with nothing to offer ends the conversation before the panel would open.
    talk("empty");
    EXPECT_FALSE(DialogPanel::isOpen());
    EXPECT_EQ(DialogManager::currentNode, nullptr);
    EXPECT_NE(game->log().find("ERROR: DialogManager: 0 available replies in menu! closing Dialog Manager"),
              std::string::npos);
}

} // namespace
