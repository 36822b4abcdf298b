// Click resolution and the verb coin on the running game (a 16:9 window): what a click on each kind
// of action leads to, against recording actions; which verbs run at once and how the coin lays out
// the others, outside and in casual play; where the coin's anchor is kept; how the coin closes.
#include "UiTest.h"

#include "engine/session/Session.h"
#include "script/Actions.h"
#include "script/Inventory.h"
#include "ui/VerbCoin.h"

#include "nimboui/nimboui.h"

#include <map>
#include <memory>

namespace {

const int ESC = 27;
const char* const YES = "$coin_yes==1";
const char* const NO = "$coin_no==1";

class VerbCoin_ : public RunningGame {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options wide;
        wide.width = 1280;
        wide.height = 720;
        return wide;
    }

    void SetUp() override {
        RunningGame::SetUp();
        recordedRuns.clear();
        Vars::getOrCreate("coin_yes")->setValue("1", true);
        Vars::getOrCreate("coin_no")->setValue("0", true);
    }

    // An action the test owns that records its name when it runs.
    Action* rec(const char* name, const char* rollover = "") { return own(name, new RecordingAction(name), rollover); }

    // Names an action for outcome(); its owner is the container it goes into.
    template <class T> T* label(const char* name, T* action, const char* rollover = "") {
        action->setOwner(Session::activeScene->chapter);
        if (*rollover) {
            action->setRolloverKey(rollover);
        }
        names[action] = name;
        return action;
    }

    template <class T> T* own(const char* name, T* action, const char* rollover = "") {
        owned.emplace_back(label(name, action, rollover));
        return action;
    }

    // A verb menu that borrows the actions, so that the test keeps them; owned by its container.
    Actions::Multiple* verbMenu(const char* name, std::vector<std::pair<const char*, Action*>> entries,
                                const char* rollover = "") {
        auto* m = label(name, new Actions::Multiple(), rollover);
        for (const auto& [verb, action] : entries) {
            m->borrowAction(verb, "", action);
        }
        return m;
    }

    Actions::Multiple* menu(const char* name, std::vector<std::pair<const char*, Action*>> entries,
                            const char* rollover = "") {
        return own(name, verbMenu(name, entries), rollover);
    }

    // A named action of the scene's chapter, which owns it.
    Action* named(const char* name, Action* action) {
        Chapter* chapter = Session::activeScene->chapter;
        action->setOwner(chapter);
        delete chapter->namedActions[name];
        chapter->namedActions[name] = action;
        names.emplace(action, name);
        return action;
    }

    Actions::Reference* ref(const char* name, const char* to) {
        auto* reference = new Actions::Reference(to);
        reference->setOwner(Session::activeScene->chapter);
        names[reference] = name;
        owned.emplace_back(reference);
        return reference;
    }

    // What the last click led to.
    std::string outcome() {
        if (!recordedRuns.empty()) {
            std::string runs;
            for (const std::string& run : recordedRuns) {
                runs += (runs.empty() ? "" : ", ") + run;
            }
            return "executed " + runs;
        }
        if (!VerbCoin::target) {
            return "nothing";
        }
        if (names.count(VerbCoin::target)) {
            return "coin for " + names[VerbCoin::target];
        }
        return "generic coin for " + names[VerbCoin::target->getAction("look")];
    }

    // Closes the coin without a choice and lets it fade; forgets what ran.
    void settle() {
        VerbCoin::close();
        game->stepSeconds(0.3f);
        recordedRuns.clear();
    }

    // Opens the coin for the menu with the cursor at the interface point, and lets it grow.
    void openAt(Actions::Multiple* m, float x, float y) {
        nimboui::setCursorPosition(x, y);
        VerbCoin::open(m);
        game->stepSeconds(0.2f);
    }

    std::map<const Action*, std::string> names;
    std::vector<std::unique_ptr<Action>> owned;
};

TEST_F(VerbCoin_, AClickFollowsReferencesAndBranchesToAnActionAVerbMenuOrTheGenericCoin) {
    Action* plain = rec("plain");
    Action* direct = rec("direct", "RO_DIRECT|use");
    Actions::Multiple* verbs = menu("verbs", {{"look", rec("look")}, {"use", rec("use")}});
    Actions::Multiple* verbsDirect = menu("verbs|", {{"look", rec("look|")}, {"use", rec("use|")}}, "RO_VERBS|look");

    auto* single = new Actions::Composite();
    single->addAction(NO, new RecordingAction("false branch"));
    single->addAction(YES, verbMenu("branch verbs", {{"look", rec("l")}, {"use", rec("u")}}));
    single->addAction(NO, new RecordingAction("false branch"));
    named("group", single);
    auto* none = own("none true", new Actions::Composite());
    none->addAction(NO, new RecordingAction("false branch"));
    auto* empty = own("empty", new Actions::Composite());
    auto* two = own("two true", new Actions::Composite());
    two->addAction(YES, new RecordingAction("first"));
    two->addAction(YES, new RecordingAction("second"));
    auto* oneDirect = own("one direct", new Actions::Composite());
    oneDirect->addAction(YES, label("direct branch", new RecordingAction("direct branch"), "RO|x"));

    auto* lock = own("lock", new Actions::ItemAction());
    lock->addAction("spanner", "", new RecordingAction("spanner"));
    lock->addAction("noitem", NO, new RecordingAction("false noitem"));
    lock->addAction("noitem", YES, label("noitem", new RecordingAction("noitem"), "RO|x"));
    auto* falseNoItem = own("false noitem", new Actions::ItemAction());
    falseNoItem->addAction("noitem", NO, new RecordingAction("never"));
    auto* noNoItem = own("no noitem", new Actions::ItemAction());
    noNoItem->addAction("spanner", "", new RecordingAction("spanner"));
    auto* toMenu = own("to menu", new Actions::ItemAction());
    toMenu->addAction("noitem", "", verbMenu("noitem verbs", {{"look", rec("l")}, {"talk", rec("t")}}));
    auto* directItems = own("direct items", new Actions::ItemAction(), "RO_LOCK|use");
    directItems->addAction("noitem", NO, new RecordingAction("never"));

    named("chain_end", verbMenu("chain verbs", {{"use", rec("u")}, {"talk", rec("t")}}));
    named("chain_middle", new Actions::Reference("chain_end"));
    named("loop_a", new Actions::Reference("loop_b"));
    named("loop_b", new Actions::Reference("loop_a"));
    named("self", new Actions::Reference("self"));

    struct Case {
        const char* what;
        Action* clicked;
        const char* held;
        std::string expected;
    };
    const Case cases[] = {
        {"null", nullptr, "", "nothing"},
        {"plain", plain, "", "generic coin for plain"},
        {"a key naming a cursor", direct, "", "executed direct"},
        {"a verb menu", verbs, "", "coin for verbs"},
        {"\"|\" on a verb menu still opens its coin", verbsDirect, "", "coin for verbs|"},
        {"a reference to a group with one true branch", ref("to group", "group"), "", "coin for branch verbs"},
        {"a group with no true branch", none, "", "generic coin for none true"},
        {"a group without entries", empty, "", "generic coin for empty"},
        {"a group with two true branches", two, "", "generic coin for two true"},
        {"a group with one true branch", oneDirect, "", "executed direct branch"},
        {"an item action with an item", lock, "spanner", "executed spanner"},
        {"an item action empty-handed", lock, "", "executed noitem"},
        {"an item action whose noitem is false", falseNoItem, "", "generic coin for false noitem"},
        {"an item action without noitem", noNoItem, "", "generic coin for no noitem"},
        {"noitem leading to a verb menu", toMenu, "", "coin for noitem verbs"},
        {"\"|\" on an item action refuses without a coin", directItems, "", "nothing"},
        {"a reference chain", ref("to chain", "chain_middle"), "", "coin for chain verbs"},
        {"a cycle of references", ref("to loop", "loop_a"), "", "nothing"},
        {"a reference to itself", ref("to self", "self"), "", "nothing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Inventory::selectedItem = c.held;
        Hud::performAction(c.clicked);
        EXPECT_EQ(outcome(), c.expected);
        EXPECT_EQ(Inventory::getSelectedItem(), "");
        settle();
    }
    // Each cycle stopped with one line, and nothing of it ran.
    std::string log = game->log();
    size_t first = log.find("ERROR! performAction: cycle");
    ASSERT_NE(first, std::string::npos);
    size_t second = log.find("ERROR! performAction: cycle", first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(log.find("ERROR! performAction: cycle", second + 1), std::string::npos);
}

// The verbs a test menu offers: each letter a verb (l, u, t, c), followed by "*" for the rollover key
// "ui.casual_use" or "!" for "ui.casual_use_only".
enum Place { HIDDEN, ANCHOR, LEFT, RIGHT, BELOW, LEFT_UP, RIGHT_UP };

TEST_F(VerbCoin_, ALoneVerbRunsAtOnceAndTheOthersAreLaidOutAroundTheCursor) {
    struct Case {
        const char* verbs;
        bool casual;
        // The verb that runs, or "" when the coin opens with the buttons placed as listed.
        const char* runs;
        Place look, use, talk, combine;
    };
    const Case cases[] = {
        {"lut", false, "", LEFT, RIGHT, BELOW, HIDDEN},        {"lutc", false, "", LEFT, RIGHT, BELOW, HIDDEN},
        {"luc", false, "", LEFT_UP, RIGHT_UP, HIDDEN, BELOW},  {"lu", false, "", LEFT, RIGHT, HIDDEN, HIDDEN},
        {"lt", false, "", LEFT, HIDDEN, RIGHT, HIDDEN},        {"ltc", false, "", LEFT, HIDDEN, RIGHT, HIDDEN},
        {"l", false, "look", HIDDEN, HIDDEN, HIDDEN, HIDDEN},  {"lc", false, "look", HIDDEN, HIDDEN, HIDDEN, HIDDEN},
        {"tu", false, "", HIDDEN, RIGHT, LEFT, HIDDEN},        {"t", false, "talk", HIDDEN, HIDDEN, HIDDEN, HIDDEN},
        {"tc", false, "talk", HIDDEN, HIDDEN, HIDDEN, HIDDEN}, {"u", false, "use", HIDDEN, HIDDEN, HIDDEN, HIDDEN},
        {"uc", false, "use", HIDDEN, HIDDEN, HIDDEN, HIDDEN},  {"c", false, "", HIDDEN, HIDDEN, HIDDEN, ANCHOR},
        {"tu", true, "talk", HIDDEN, HIDDEN, HIDDEN, HIDDEN},  {"t*u*", true, "", HIDDEN, RIGHT, LEFT, HIDDEN},
        {"lt*", true, "", LEFT, HIDDEN, RIGHT, HIDDEN},        {"lu!", true, "use", HIDDEN, HIDDEN, HIDDEN, HIDDEN},
        {"t*u!", true, "use", HIDDEN, HIDDEN, HIDDEN, HIDDEN}, {"lu", true, "look", HIDDEN, HIDDEN, HIDDEN, HIDDEN},
        {"lu*", true, "", LEFT, RIGHT, HIDDEN, HIDDEN},        {"u", true, "", HIDDEN, ANCHOR, HIDDEN, HIDDEN},
        {"uc", true, "", HIDDEN, LEFT, HIDDEN, RIGHT},         {"l", true, "", ANCHOR, HIDDEN, HIDDEN, HIDDEN},
        {"c", true, "", HIDDEN, HIDDEN, HIDDEN, ANCHOR},
    };
    // The cursor in the middle: the centre K is (693, 160), the anchor K - s/2 for s = 35.
    const float s = 35, ax = 675.5f, ay = 142.5f;
    const std::map<Place, morvec::Vector2> at = {
        {ANCHOR, {ax, ay}},
        {LEFT, {ax - s + 5, ay}},
        {RIGHT, {ax + s - 5, ay}},
        {BELOW, {ax, ay + s}},
        {LEFT_UP, {ax - s + 5, ay - s / 2}},
        {RIGHT_UP, {ax + s - 5, ay - s / 2}},
    };
    const std::map<char, const char*> verbNames = {{'l', "look"}, {'u', "use"}, {'t', "talk"}, {'c', "combine"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.verbs << (c.casual ? " casual" : ""));
        game->setVar("casual_mode", c.casual ? "1" : "0");
        std::vector<std::pair<const char*, Action*>> entries;
        for (const char* v = c.verbs; *v; ++v) {
            const char* key = v[1] == '*' ? "ui.casual_use" : v[1] == '!' ? "ui.casual_use_only" : "";
            entries.push_back({verbNames.at(*v), rec(verbNames.at(*v), key)});
            v += *key ? 1 : 0;
        }
        openAt(menu("m", entries), 213, 160);
        if (*c.runs) {
            EXPECT_EQ(outcome(), "executed " + std::string(c.runs));
            EXPECT_EQ(VerbCoin::target, nullptr);
            EXPECT_FALSE(VerbCoin::isOpen());
            recordedRuns.clear();
            continue;
        }
        EXPECT_TRUE(VerbCoin::isOpen());
        EXPECT_EQ(var("choice_menu_active"), "1");
        const Place places[] = {c.look, c.use, c.talk, c.combine};
        for (int verb = 0; verb < 4; ++verb) {
            SCOPED_TRACE(VerbCoin::VERBS[verb]);
            nimboui::Object* button = ui(vessot::String("choice_") + VerbCoin::VERBS[verb]);
            if (places[verb] == HIDDEN) {
                EXPECT_EQ(button->getSize(), morvec::Vector2(0, 0));
            } else {
                EXPECT_EQ(button->getPosition(), at.at(places[verb]));
                EXPECT_EQ(button->getSize(), morvec::Vector2(s, s));
                EXPECT_EQ(button->getAlpha(), 1.0f);
            }
        }
        EXPECT_TRUE(recordedRuns.empty());
        settle();
    }
}

TEST_F(VerbCoin_, TheAnchorStaysInsideTheVisibleBandAndAboveTheBottomWhenTalkSitsBelow) {
    // 16:9: the band reaches m = (16/9 - 4/3) x 160 beyond each side of the virtual screen.
    const float m = (16.0f / 9 - 4.0f / 3) * 160;
    struct Case {
        const char* what;
        float x, y;
        bool mobile;
        bool talk;
        // The anchor: the combine button alone, or the talk button beside use.
        float ax, ay;
    };
    const Case cases[] = {
        {"left edge", -m, 160, false, false, 480 + 35 - m, 142.5f},
        {"right edge", 426 + m, 160, false, false, 906 + m - 70, 142.5f},
        {"top", 213, 0, false, false, 675.5f, 22.5f},
        {"bottom", 213, 320, false, false, 675.5f, 255},
        {"talk near the bottom", 213, 300, false, true, 675.5f, 245},
        {"talk in the middle", 213, 160, false, true, 675.5f, 142.5f},
        {"mobile top left", -m, 0, true, false, 480 + 54 - m, 32},
        {"mobile talk at the bottom", 213, 320, true, true, 666, 315 - 108},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session::params["ui"] = c.mobile ? "mobile" : "pc";
        float s = c.mobile ? 54 : 35;
        Action* only = rec("combine");
        Actions::Multiple* m =
            c.talk ? menu("m", {{"talk", rec("talk")}, {"use", rec("use")}}) : menu("m", {{"combine", only}});
        openAt(m, c.x, c.y);
        nimboui::Object* button = ui(c.talk ? "choice_talk" : "choice_combine");
        EXPECT_NEAR(button->getX(), c.talk ? c.ax - s + 5 : c.ax, 0.01f);
        EXPECT_NEAR(button->getY(), c.ay, 0.01f);
        EXPECT_EQ(button->getSize(), morvec::Vector2(s, s));
        // The coin keeps the cursor, not the anchor, as the point it grows from.
        EXPECT_NEAR(VerbCoin::centre.x, c.x + 480, 0.01f);
        settle();
    }
}

TEST_F(VerbCoin_, AMenuWithoutAPresentVerbOpensItsCoinAndItsDismissalRunsCancel) {
    auto* m = menu("m", {});
    m->addAction("look", NO, new RecordingAction("look"));
    m->addAction("cancel", "", new RecordingAction("cancel"));
    for (const char* casual : {"0", "1"}) {
        game->setVar("casual_mode", casual);
        openAt(m, 213, 160);
        EXPECT_EQ(outcome(), "coin for m");
        EXPECT_TRUE(VerbCoin::isOpen());
        EXPECT_EQ(var("choice_menu_active"), "1");
        VerbCoin::close();
        EXPECT_EQ(outcome(), "executed cancel");
        settle();
    }
}

TEST_F(VerbCoin_, ADismissalRunsCancelOnceAndAChoiceNeverDoesEvenWhenItSwitchesTheScene) {
    enum How { BESIDE, RIGHT_CLICK, ESCAPE, LOOK };
    struct Case {
        const char* what;
        How how;
        // Whether the look or the cancel switches the scene at once.
        bool switching;
        const char* runs;
        const char* scene;
    };
    const Case cases[] = {
        {"a click beside the buttons", BESIDE, false, "executed cancel", "ship.Cockpit"},
        {"a right click", RIGHT_CLICK, false, "executed cancel", "ship.Cockpit"},
        {"Esc", ESCAPE, false, "executed cancel", "ship.Cockpit"},
        {"a cancel that switches the scene at once", BESIDE, true, "executed cancel", "ship.Galley"},
        {"look", LOOK, false, "executed look", "ship.Cockpit"},
        {"a look that switches the scene at once", LOOK, true, "executed look", "ship.Galley"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* look = own("look", new Actions::Composite());
        look->addAction("", new RecordingAction("look"));
        auto* cancel = own("cancel", new Actions::Composite());
        cancel->addAction("", new RecordingAction("cancel"));
        if (c.switching) {
            (c.how == LOOK ? look : cancel)->addAction("", new Actions::Execute("switch_scene Galley"));
        }
        openAt(menu("m", {{"look", look}, {"use", rec("use")}, {"cancel", cancel}}), 213, 160);
        ASSERT_TRUE(VerbCoin::isOpen());
        switch (c.how) {
        case BESIDE:
            game->clickGui(20, 150);
            break;
        case RIGHT_CLICK:
            game->release(100, 100, 2);
            break;
        case ESCAPE:
            game->key(ESC);
            break;
        case LOOK:
            game->clickGui(centreOf("choice_look").x, centreOf("choice_look").y);
            break;
        }
        EXPECT_EQ(outcome(), c.runs);
        EXPECT_EQ(var("choice_menu_active"), "0");
        EXPECT_EQ(var("active_scene"), c.scene);
        // The coin counts as open while it fades out.
        EXPECT_TRUE(VerbCoin::isOpen());
        game->stepSeconds(0.15f);
        EXPECT_TRUE(VerbCoin::isOpen());
        game->stepSeconds(0.1f);
        EXPECT_FALSE(VerbCoin::isOpen());
        recordedRuns.clear();
        if (var("active_scene") != "ship.Cockpit") {
            switchNow("ship.Cockpit");
        }
    }
}

TEST_F(VerbCoin_, WhileTheInventoryShowsTheFirstClickBesideTheButtonsIsSwallowed) {
    ui("inv")->setVisible(true);
    ui("inv")->setAlpha(1.0f);
    openAt(menu("m", {{"look", rec("look")}, {"use", rec("use")}, {"cancel", rec("cancel")}}), 213, 160);
    game->clickGui(20, 150);
    EXPECT_EQ(outcome(), "coin for m");
    game->clickGui(20, 150);
    EXPECT_EQ(outcome(), "executed cancel");
    // The guard is cleared at the next opening.
    recordedRuns.clear();
    game->stepSeconds(0.3f);
    openAt(menu("m", {{"look", rec("look")}, {"use", rec("use")}, {"cancel", rec("cancel")}}), 213, 160);
    game->clickGui(20, 150);
    EXPECT_EQ(outcome(), "coin for m");
}

TEST_F(VerbCoin_, AVerbWhoseConditionTurnedFalseRunsNothingAndTheCoinStillCloses) {
    Vars::getOrCreate("coin_flag")->setValue("1", true);
    auto* m = menu("m", {{"use", rec("use")}, {"cancel", rec("cancel")}});
    m->addAction("look", "$coin_flag==1", new RecordingAction("look"));
    openAt(m, 213, 160);
    ASSERT_EQ(ui("choice_look")->getSize(), morvec::Vector2(35, 35));
    game->setVar("coin_flag", "0");
    game->clickGui(centreOf("choice_look").x, centreOf("choice_look").y);
    EXPECT_EQ(outcome(), "nothing");
    EXPECT_EQ(var("choice_menu_active"), "0");
}

TEST_F(VerbCoin_, TheGenericCoinLooksWithTheClickedActionAndUsesWithAGenericLine) {
    auto* two = own("two true", new Actions::Composite());
    two->addAction(YES, new RecordingAction("first"));
    two->addAction(YES, new RecordingAction("second"));
    nimboui::setCursorPosition(213, 160);
    Hud::performAction(two);
    game->stepSeconds(0.2f);
    game->clickGui(centreOf("choice_look").x, centreOf("choice_look").y);
    EXPECT_EQ(outcome(), "executed first, second");
    game->stepSeconds(0.3f);
    recordedRuns.clear();

    game->setVar("current_character", "luna");
    Hud::performAction(rec("plain"));
    game->stepSeconds(0.2f);
    game->clickGui(centreOf("choice_use").x, centreOf("choice_use").y);
    EXPECT_EQ(outcome(), "nothing");
    EXPECT_NE(game->log().find("say: { luna }"), std::string::npos);
}

} // namespace
