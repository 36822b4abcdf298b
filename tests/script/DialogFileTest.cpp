// Dialog files: the trees each element builds, the node count, one-time replies, duplicate and
// unknown elements, and the errors that name the file and the line.
#include "engine/ChapterFixture.h"
#include "script/Action.h"
#include "script/Actions.h"
#include "script/Dialog.h"
#include "script/DialogManager.h"

#include "vessxml/Xml.h"

#include <map>

namespace {

// A node and its children as one line of text.
String dump(Dialog* node) {
    String text;
    auto children = [](const auto& list) {
        String inner;
        for (Dialog* child : list) {
            inner += (inner.empty() ? "" : ", ") + dump(child);
        }
        return "[" + inner + "]";
    };
    if (auto* entry = dynamic_cast<DialogEntry*>(node)) {
        text = "Line(" + entry->chr + ":" + entry->text + ")";
    } else if (auto* job = dynamic_cast<DialogJob*>(node)) {
        auto* command = dynamic_cast<Actions::CommandCharacter*>(job->getAction());
        text = "Job(" + String((int)command->getJobs().size()) + (command->getOwner() ? " owned" : "") + ")";
    } else if (auto* action = dynamic_cast<DialogAction*>(node)) {
        text = "Action(" + action->getAction()->getTypeName() + ")";
    } else if (auto* redirect = dynamic_cast<DialogRedirect*>(node)) {
        text = "Redirect(" + redirect->to + ")";
    } else if (auto* reference = dynamic_cast<DialogReference*>(node)) {
        text = "Reference(" + reference->ref + ")";
    } else if (auto* reply = dynamic_cast<DialogReply*>(node)) {
        text = "Reply(" + reply->text + " persistent " + reply->persistent + ")" + children(reply->children);
    } else if (auto* sequence = dynamic_cast<DialogSequence*>(node)) {
        text = "Sequence" + children(sequence->children);
    } else if (auto* menu = dynamic_cast<DialogMenu*>(node)) {
        text = "Menu(" + menu->name + ")" + children(menu->replies);
    }
    if (!node->condition.empty()) {
        text += " if " + node->condition;
    }
    return text;
}

class DialogFileTest : public ChapterFixture {
protected:
    void SetUp() override {
        ChapterFixture::SetUp();
        owner = chapter("talk");
    }
    void TearDown() override {
        forgetTrees();
        ChapterFixture::TearDown();
    }

    int read(const std::string& xml) {
        vessxml::Document document = vessxml::Document::parse(xml, "talk.dlg");
        return DialogManager::loadElements(document.getRoot(), dialogs, owner);
    }
    void forgetTrees() {
        for (auto& [name, node] : dialogs) {
            delete node;
        }
        dialogs.clear();
    }
    String trees() {
        String text;
        for (auto& [name, node] : dialogs) {
            text += (text.empty() ? "" : "; ") + name + "=" + dump(node);
        }
        return text;
    }

    Chapter* owner = nullptr;
    std::map<String, Dialog*> dialogs;
};

TEST_F(DialogFileTest, EachElementBuildsItsNodes) {
    struct Row {
        const char* xml;
        int count;
        const char* trees;
    } rows[] = {
        {"<Dialogs/>", 0, ""},
        {R"(<D><Dialog name="hi" chr="luna" text="HELLO" condition="$door==open"/></D>)", 1,
         "hi=Line(luna:HELLO) if $door==open"},
        {R"(<D><Menu name="m">
                <Reply text="A"><Dialog chr="vorne" text="L1"/></Reply>
                <Reply text="B"><Dialog chr="$current_character" text="L2"/></Reply>
            </Menu></D>)",
         5, "m=Menu(m)[Reply(A persistent 0)[Line(vorne:L1)], Reply(B persistent 0)[Line($current_character:L2)]]"},
        {R"(<D><Menu name="m">
                <Reply text="ONCE" onetime="1" condition="$a==1"/>
                <Reply text="FIRST" onetime="1"/>
                <Reply text="PLAIN" onetime="0" persistent="$b==1"/>
            </Menu></D>)",
         4,
         "m=Menu(m)[Reply(ONCE persistent 0)[] if ($a==1) and ONCE !^ $onetime_dialogs, "
         "Reply(FIRST persistent 0)[] if FIRST !^ $onetime_dialogs, Reply(PLAIN persistent $b==1)[]]"},
        {R"(<D><Sequence name="s">
                <Dialog chr="luna" text="L"/>
                <Redirect to="__END__" condition="$x==1"/>
                <Reference ref="other"/>
                <Action type="SetVar" var="door" value="open" condition="$y==2"/>
                <Job chr="vorne" type="Pause" time="1" condition="$z==3"/>
                <Unknown/>
            </Sequence></D>)",
         6,
         "s=Sequence[Line(luna:L), Redirect(__END__) if $x==1, Reference(other), Action(SetVar) if $y==2, "
         "Job(1 owned) if $z==3]"},
        // Elements of other names are skipped inside menus and replies too, and at the top.
        {R"(<D><Menu name="m"><Note/><Reply text="A"><Note/><Dialog chr="c" text="T"/></Reply></Menu><Note name="n"/></D>)",
         3, "m=Menu(m)[Reply(A persistent 0)[Line(c:T)]]"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(read(row.xml), row.count) << row.xml;
        EXPECT_EQ(trees(), row.trees) << row.xml;
        forgetTrees();
    }
}

TEST_F(DialogFileTest, ALaterDialogOfTheSameNameReplacesTheEarlierAndUnknownElementsAreLogged) {
    EXPECT_EQ(read(R"(<D>
        <Dialog name="x" chr="a" text="FIRST"/>
        <Note/>
        <Sequence name="x"><Dialog chr="b" text="SECOND"/></Sequence>
    </D>)"),
              3);
    EXPECT_EQ(trees(), "x=Sequence[Line(b:SECOND)]");
    EXPECT_NE(log().find("WARNING: dialog 'x' 'Sequence' (talk.dlg:4) replaces an earlier one"), std::string::npos)
        << log();
    EXPECT_NE(log().find("Dialogs: element 'Note' (talk.dlg:3) is not a dialog; skipped"), std::string::npos);
}

TEST_F(DialogFileTest, BadFilesAreRefusedNamingTheFileAndTheLine) {
    struct Row {
        const char* xml;
        const char* message;
    } rows[] = {
        {"<D>\n<Dialog name=\"x\" text=\"T\"/></D>", "talk.dlg:2"},
        {"<D>\n<Sequence/></D>", "talk.dlg:2"},
        {"<D><Menu name=\"m\">\n<Reply/></Menu></D>", "talk.dlg:2"},
        {"<D><Sequence name=\"s\">\n\n<Redirect/></Sequence></D>", "talk.dlg:3"},
        {"<D><Sequence name=\"s\">\n<Reference/></Sequence></D>", "talk.dlg:2"},
        {"<D><Sequence name=\"s\">\n<Job type=\"Pause\" time=\"1\"/></Sequence></D>", "talk.dlg:2"},
        {"<D><Sequence name=\"s\">\n<Job chr=\"vorne\" type=\"Fly\"/></Sequence></D>", "Fly"},
        {"<D><Sequence name=\"s\">\n<Action type=\"Teleport\"/></Sequence></D>", "Teleport"},
    };
    for (const Row& row : rows) {
        try {
            read(row.xml);
            ADD_FAILURE() << "accepted: " << row.xml;
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find(row.message), std::string::npos) << e.message();
        }
    }
    // A malformed file names itself and the line.
    std::string path =
        write("chapters/talk/dialogs/broken.dlg", "<D>\n<Dialog name=\"x\" chr=\"a\" text=\"T\">\n</D>\n");
    std::map<String, Dialog*> none;
    try {
        DialogManager::load(path, none, owner);
        ADD_FAILURE() << "a malformed file was read";
    } catch (const vessot::exception& e) {
        EXPECT_NE(e.message().find("broken.dlg"), std::string::npos) << e.message();
        EXPECT_NE(e.message().find(":3"), std::string::npos) << e.message();
    }
    EXPECT_TRUE(none.empty());
}

} // namespace
