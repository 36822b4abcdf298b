// The action factory: every type of the test chapter with its rollover key, in the factory-made
// action and in a clone that outlives its prototype; refused elements; the choices of the containers;
// the job lists of character commands.
#include "ScriptFixture.h"

#include "script/Actions.h"
#include "script/ZephJobs.h"

#include <set>

namespace {

class ActionFactory : public ScriptFixture {};

TEST_F(ActionFactory, EveryTypeWithItsRolloverKeyInTheMadeActionAndItsClone) {
    struct Row {
        const char* action;
        const char* type;
        const char* rollover;
    } rows[] = {
        {"switch", "SwitchScene", "RO_OTHER"},
        {"switch_defaults", "SwitchScene", "RO_OTHER"}, // an empty "rollover" keeps the preset key
        {"reset", "ResetScene", ""},
        {"reference", "Reference", "RO_REF|use"},
        {"text", "Text", "RO_LINE"},
        {"say", "Say", "RO_HELLO"},
        {"generic", "GenericText", "RO_"},
        {"dialog", "Dialog", ""},
        {"end_dialog", "EndDialog", ""},
        {"add", "AddItem", ""},
        {"remove", "RemoveItem", ""},
        {"remove_all", "RemoveAllItems", ""},
        {"set_literal", "SetVar", ""},
        {"append", "AppendToVar", ""},
        {"event", "SendEventToObject", ""},
        {"map", "SetActionMap", ""},
        {"print", "DebugPrint", ""},
        {"end", "EndProgram", ""},
        {"lock", "LockScene", ""},
        {"unlock", "UnlockScene", ""},
        {"play", "PlaySound", ""},
        {"stop", "StopSound", ""},
        {"achieve", "UnlockAchievement", ""},
        {"count", "IncVar", ""},
        {"execute", "Execute", ""},
        {"select", "SelectItem", ""},
        {"verbs", "Multiple", "RO_LINE"},       // the first "Text" child's key
        {"by_item", "ItemAction", "RO_SECOND"}, // the last "Text" child's key
        {"all_that_hold", "Composite", "RO_ALL"},
        {"command", "CommandCharacter", ""},
        {"clear", "ClearJobs", ""},
        {"place", "SetCharacterPos", ""},
    };
    std::set<std::string> types;
    for (const Row& row : rows) {
        types.insert(row.type);
        std::unique_ptr<Action> clone = orphanClone(row.action);
        for (Action* action : {named(row.action), clone.get()}) {
            EXPECT_EQ(action->getTypeName(), row.type) << row.action;
            EXPECT_EQ(action->getRolloverKey(), row.rollover) << row.action;
            EXPECT_EQ(action->getOwner(), lab) << row.action;
        }
    }
    EXPECT_EQ(types.size(), 31u);
}

TEST_F(ActionFactory, RefusedElementsNameTheFaultAndWhere) {
    struct Row {
        const char* xml;
        const char* message;
    } rows[] = {
        {R"(<Action type="Nonsense"/>)", "Unknown action type in XML file: Nonsense (snippet.scene:1)"},
        {R"(<Action type="setvar" var="a" value="b"/>)", "Unknown action type in XML file: setvar"},
        {R"(<Action/>)", "missing attribute 'type'"},
        {R"(<Action type="SetVar" value="b"/>)", "snippet.scene:1: element 'Action': missing attribute 'var'"},
        {R"(<Action type="IncVar" var="a" value="many"/>)", "attribute 'value' is not an integer"},
        {R"(<Action type="SwitchScene" scene="a" fade_time="soon"/>)", "attribute 'fade_time' is not a number"},
        {R"(<Action type="SetVar" var="a" value="b" reset="maybe"/>)", "attribute 'reset' is not a boolean"},
        {"<Action type=\"Composite\">\n<Action type=\"Nope\"/></Action>",
         "Unknown action type in XML file: Nope (snippet.scene:2)"},
        {R"(<Action type="Multiple"><Action type="ResetScene"/></Action>)", "missing attribute 'multiple'"},
        {R"(<Action type="ItemAction"><Action type="ResetScene"/></Action>)", "missing attribute 'itemaction'"},
        {R"(<Action type="CommandCharacter"><Job type="Pause" time="1"/></Action>)", "missing attribute 'chr'"},
        {R"(<Action type="CommandCharacter" chr="a"><Job type="Move" y="1"/></Action>)", "missing attribute 'x'"},
        {R"(<Action type="CommandCharacter" chr="a"><Job type="Pause"/></Action>)", "missing attribute 'time'"},
        {R"(<Action type="CommandCharacter" chr="a"><Job type="Wave"/></Action>)",
         "Unknown action type in XML file: Wave"},
        {R"(<Action type="CommandCharacter" chr="a"><Job type="Pause" time="1"/><Job/></Action>)",
         "missing attribute 'type'"},
    };
    for (const Row& row : rows) {
        vessxml::Document document = vessxml::Document::parse(row.xml, "snippet.scene");
        try {
            delete Action::createFromXml(document.getRoot(), lab);
            ADD_FAILURE() << row.xml << " was accepted";
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find(row.message), std::string::npos) << e.message();
        }
    }
}

TEST_F(ActionFactory, AVerbMenuAnswersTheFirstEntryOfAVerbWhoseConditionHolds) {
    auto* verbs = static_cast<Actions::Multiple*>(named("verbs"));
    struct Row {
        const char* door;
        const char* verb;
        const char* used; // what the answer sets "used" to; "" for no answer, "-" for a line
    } rows[] = {
        {"open", "use", "door"}, {"shut", "use", "anything"}, {"open", "look", "-"},
        {"open", "talk", ""},    {"open", "combine", ""},     {"open", "cancel", ""},
    };
    for (const Row& row : rows) {
        Vars::set("door", row.door);
        Vars::set("used", "");
        Action* answer = verbs->getAction(row.verb);
        EXPECT_EQ(answer != nullptr, *row.used != 0) << row.verb << " " << row.door;
        if (answer && std::string(row.used) != "-") {
            answer->execute();
            EXPECT_EQ(Vars::value("used"), row.used) << row.verb << " " << row.door;
        } else if (answer) {
            EXPECT_EQ(answer->getTypeName(), "Text");
            EXPECT_EQ(answer->getRolloverKey(), "RO_LINE"); // the first "look" entry
        }
    }
    // The verb coin lends a menu its own actions: clearing the menu leaves them alive.
    auto look = std::make_unique<Actions::SetVar>("used", "look", false);
    Actions::Multiple menu;
    menu.borrowAction("look", "", look.get());
    menu.addAction("use", "", new Actions::SetVar("used", "use", false));
    menu.getAction("use")->execute();
    EXPECT_EQ(Vars::value("used"), "use");
    menu.clear();
    EXPECT_EQ(menu.getAction("look"), nullptr);
    menu.borrowAction("look", "", look.get());
    menu.getAction("look")->execute();
    EXPECT_EQ(Vars::value("used"), "look");
}

TEST_F(ActionFactory, AnItemActionChoosesByTheItemInHandAndPutsItAway) {
    struct Row {
        const char* hand;
        const char* door;
        const char* used;
        const char* logged;
    } rows[] = {
        {"", "open", "hands", ""},
        {"key", "open", "key", ""},
        {"key", "shut", "", "DEBUG_PRINT: the door is shut"},
        {"map", "open", "", ""}, // no entry: the current character refuses
    };
    for (const Row& row : rows) {
        Vars::set("door", row.door);
        Vars::set("used", "");
        Inventory::setSelectedItem(row.hand);
        size_t start = log().size();
        orphanClone("by_item")->execute();
        EXPECT_EQ(Vars::value("used"), row.used) << row.hand << " " << row.door;
        EXPECT_EQ(Inventory::getSelectedItem(), "") << row.hand;
        EXPECT_NE(logSince(start).find(row.logged), std::string::npos) << row.hand;
    }
}

TEST_F(ActionFactory, ACompositeRunsEveryChildWhoseConditionHoldsWhenItsTurnComes) {
    Vars::set("door", "shut");
    Vars::set("count", "1");
    named("all_that_hold")->execute();
    EXPECT_EQ(Vars::value("door"), "open");
    EXPECT_EQ(Vars::value("count"), "11");
}

// The jobs of a character command in order: type name, condition and what each job was given.
TEST_F(ActionFactory, CharacterCommandsParseTheirJobsAndCloneThem) {
    using namespace ZephJobs;
    auto describe = [](Marionix::Job* job) -> std::string {
        if (auto* move = dynamic_cast<SplineMove*>(job)) {
            return String::fromFloat(move->getTarget().x) + "," + String::fromFloat(move->getTarget().y);
        }
        if (auto* animate = dynamic_cast<Marionix::Jobs::Animate*>(job)) {
            return animate->getAnimation() + (animate->isLooping() ? " loop" : "");
        }
        if (auto* turn = dynamic_cast<SetOrientation*>(job)) {
            return turn->getDirection();
        }
        if (auto* call = dynamic_cast<CallAction*>(job)) {
            return call->getActionName() + " of " + call->getOwner()->getName();
        }
        if (auto* pause = dynamic_cast<Pause*>(job)) {
            return String::fromFloat(pause->getDuration()) + "/" + String::fromFloat(pause->getRemaining());
        }
        if (auto* dialog = dynamic_cast<ZephJobs::Dialog*>(job)) {
            return dialog->getDialogName();
        }
        if (auto* sound = dynamic_cast<PlaySoundW*>(job)) {
            return sound->getSoundName() + (sound->isWaiting() ? " wait" : "");
        }
        if (auto* say = dynamic_cast<ZephJobs::Say*>(job)) {
            return say->getSpeaker() + (say->isNowait() ? " nowait" : "");
        }
        if (auto* exit = dynamic_cast<ZephJobs::SwitchScene*>(job)) {
            return exit->getTargetScene() + " at " + exit->getPosition();
        }
        if (auto* wrapper = dynamic_cast<ActionWrapper*>(job)) {
            auto* command = dynamic_cast<Actions::CommandCharacter*>(wrapper->getAction());
            return command ? command->getJobs()[0].prototype->getTypeName() : "";
        }
        return "?";
    };
    struct Row {
        const char* type;
        const char* condition;
        const char* given;
    } rows[] = {
        {"Move", "", "10,20.5"},
        {"Animate", "", "wave loop"},
        {"SetOrientation", "", "NW"},
        {"CallAction", "", "set_literal of lab"},
        {"Pause", "", "1.5/1.5"},
        {"Dialog", "", "intro"},
        {"PlaySound", "", "beep wait"},
        {"Say", "$door==open", "$current_character nowait"},
        {"Say", "", "$current_character"},
        {"SwitchScene", "", "lab.Other at 5,6,E"},
        {"SwitchScene", "", "lab.Other at 1,2,S"},
        {"SwitchScene", "", "lab.Other at "},
        {"SwitchScene", "", "lab.Other at "}, // "$target" holds a bare name
        {"ActionWrapper: SetVar", "", ""},
        {"ActionWrapper: CommandCharacter", "", "Pause"},
    };
    Vars::set("target", "Other");
    auto* made = static_cast<Actions::CommandCharacter*>(named("command"));
    std::unique_ptr<Action> clone = orphanClone("command");
    auto* copy = static_cast<Actions::CommandCharacter*>(clone.get());
    ASSERT_EQ(made->getJobs().size(), std::size(rows));
    ASSERT_EQ(copy->getJobs().size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        for (const Actions::CommandCharacter::JobEntry& entry :
             {std::cref(made->getJobs()[i]), std::cref(copy->getJobs()[i])}) {
            EXPECT_EQ(entry.prototype->getTypeName(), rows[i].type) << i;
            EXPECT_EQ(entry.condition, rows[i].condition) << i;
            EXPECT_EQ(describe(entry.prototype.get()), rows[i].given) << i;
            EXPECT_FALSE(entry.prototype->isStarted());
        }
        EXPECT_NE(made->getJobs()[i].prototype.get(), copy->getJobs()[i].prototype.get());
    }
}

} // namespace
