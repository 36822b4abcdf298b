// The interface set-up on the bundled data (the working directory is the repository's root).
#include "ChapterFixture.h"
#include "engine/app/Game.h"
#include "engine/session/GameUtil.h"
#include "engine/session/TransitionManager.h"
#include "engine/view/Input.h"
#include "script/Action.h"
#include "ui/Cdialog.h"
#include "ui/Hud.h"
#include "ui/RateMeBox.h"

namespace {

class InterfaceSetupTest : public ChapterFixture {
protected:
    void SetUp() override {
        ChapterFixture::SetUp();
        Vars::loadFromXml("data/vars.xml");
    }
};

// A named action that notes that it ran.
class NotingAction : public Action {
public:
    void execute() override { ran = true; }
    Action* clone() override { return finishClone(new NotingAction()); }
    String getTypeName() const override { return "Noting"; }
    static bool ran;
};
bool NotingAction::ran = false;

// What a click on a button of the interface changed, from a menu scene with the resume overlay
// shown and fast-forward on.
struct ClickEffect {
    bool fastForward;
    const char* scene;
    const char* cdialog;
    bool overlayShown;
    bool skipped;
};

const std::pair<const char*, ClickEffect> CLICKS[] = {
    {"ffwd_button", {false, "ui.QuickTutorial", "", true, false}},
    {"diary_button", {false, "ui.Hintbook", "", true, false}}, // a scene switch ends fast-forward
    {"hint_button", {true, "ui.QuickTutorial", "", true, false}},
    {"smart_hint_button", {true, "ui.QuickTutorial", "", true, false}},
    {"skip_button", {true, "ui.QuickTutorial", "", true, true}},
    {"ingame_menu_button", {false, "ui.InGameMenu", "", true, false}},
    {"resume_resume", {true, "ui.QuickTutorial", "", false, false}},
    {"resume_quit_menu",
     {true, "ui.QuickTutorial", "ui.INGAME_QUIT_MENU_DIALOG,ui.ingame_quit_to_menu,none", false, false}},
    {"resume_quit_game", {true, "ui.QuickTutorial", "ui.INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none", false, false}},
};

bool sameVariables(const VariableTable& a, const VariableTable& b) {
    if (a.getters != b.getters || a.variables.size() != b.variables.size()) {
        return false;
    }
    for (const auto& [name, variable] : a.variables) {
        auto other = b.variables.find(name);
        if (other == b.variables.end() || other->second.value != variable.value ||
            other->second.listeners != variable.listeners) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST_F(InterfaceSetupTest, WiresTheInterface) {
    Vars::set("inv_ignore_notifications", "1");
    Vars::set("diary_ignore_notifications", "1");
    nimboui::setDefaultScale(1.0f);
    Game::setupUserInterface();

    EXPECT_FLOAT_EQ(nimboui::getDefaultScale(), 8.0f / 15.0f);
    ASSERT_TRUE(uiChapter);
    EXPECT_EQ(uiChapter->getName(), "ui");
    EXPECT_EQ(uiChapter->getDefinitionFilePath(), "data/ui/ui_hd.datadef");
    EXPECT_TRUE(uiChapter->isLoaded());
    EXPECT_TRUE(uiChapter->keep);
    EXPECT_EQ(uiChapter->sceneFileFilter, &GameUtil::isSceneFileForPlatform);
    EXPECT_TRUE(uiChapter->getScene("InGameMenu"));
    ASSERT_TRUE(charactersChapter);
    EXPECT_TRUE(charactersChapter->isLoaded());
    EXPECT_TRUE(charactersChapter->keep);

    EXPECT_EQ(Vars::variables.getters, (std::map<String, VariableGetter>{
                                           {"localization", Game::getLocalizationVar},
                                           {"smart_hint_button_visible", Game::getSmartHintButtonVisibleVar},
                                           {"shouldShowFirstTimeProfile", Game::getShouldShowFirstTimeProfileVar},
                                           {"should_show_rateme_box", UserInterface::RateMeBox::shouldShow},
                                       }));
    EXPECT_EQ(Vars::value("inv_ignore_notifications"), "0");
    EXPECT_EQ(Vars::value("diary_ignore_notifications"), "0");

    // Every "hint..." variable of the file gets the hint listener once; the two named ones theirs.
    int hintVariables = 0;
    for (const auto& [name, variable] : Vars::variables.variables) {
        if (name.startsWith("hint")) {
            ++hintVariables;
            EXPECT_EQ(variable.listeners, std::vector<VariableListener>{Game::onHintVariableChanged}) << name;
        }
    }
    EXPECT_GE(hintVariables, 2);
    EXPECT_EQ(Vars::get("cdialog")->listeners, std::vector<VariableListener>{Cdialog::onVarChanged});
    EXPECT_EQ(Vars::get("textmode_exception")->listeners,
              std::vector<VariableListener>{Game::onTextModeExceptionChanged});
    EXPECT_TRUE(Vars::get("_hint_timer")->listeners.empty());
    // A "hint" variable that enters the store later gets none.
    EXPECT_TRUE(Vars::getOrCreate("hint_later")->listeners.empty());
    Vars::variables.variables.erase("hint_later");

    EXPECT_TRUE(sameVariables(Vars::snapshot, Vars::variables));
    // The character switcher's registration sets the current character away and back.
    expectInOrder(log(),
                  {"[vorne] HD parm is1", "[zeph] Loading chapter ui", "[zeph] Loading chapter characters",
                   "[zeph] $current_character: 'luna' (was 'vorne')", "[zeph] $current_character: 'vorne' (was 'luna')",
                   "[zeph] $inv_ignore_notifications: '0' (was '1')"});

    // What each button's click does.
    Session::transitions[""] = new Transitions::Immediate();
    uiChapter->registerNamedAction("skip_test", new NotingAction());
    for (const auto& [button, effect] : CLICKS) {
        SCOPED_TRACE(button);
        Session::switchScene("ui.QuickTutorial", "", "", 0.0f);
        fastForwardActive = true;
        Vars::set("cdialog", "");
        // A waiting skip action keeps the menus shut: only the skip button's click has one.
        Vars::set("skip_action", button == String("skip_button") ? "skip_test" : "0");
        NotingAction::ran = false;
        Hud::uiObject("resume_overlay")->setVisible(true);
        uiChapter->getObject(button)->triggerEvent("Click", 0, 0, "");
        EXPECT_EQ(fastForwardActive, effect.fastForward);
        EXPECT_EQ(Vars::value("active_scene"), effect.scene);
        EXPECT_EQ(Vars::value("cdialog"), effect.cdialog);
        EXPECT_EQ(Hud::uiObject("resume_overlay")->isVisible(), effect.overlayShown);
        EXPECT_EQ(NotingAction::ran, effect.skipped);
    }
    Session::switchScene("ui.QuickTutorial", "", "", 0.0f);
    delete Session::transitions[""];
    Session::transitions.clear();
}

TEST_F(InterfaceSetupTest, MobileInterfaceLoadsTheMobileDefinition) {
    Session::params["ui"] = "mobile";
    Game::setupUserInterface();
    EXPECT_EQ(uiChapter->getDefinitionFilePath(), "data/ui/ui_mobile_hd.datadef");
    EXPECT_TRUE(uiChapter->isLoaded());
    EXPECT_FLOAT_EQ(nimboui::getDefaultScale(), 8.0f / 15.0f);
}

TEST_F(InterfaceSetupTest, AMissingVariableIsAnError) {
    Vars::variables.variables.erase("cdialog");
    EXPECT_THROW(Game::setupUserInterface(), _UnknownVariableException);
}
