// The interface set-up on the bundled data (the working directory is the repository's root).
#include "ChapterFixture.h"
#include "engine/app/Game.h"
#include "engine/session/GameUtil.h"
#include "ui/Cdialog.h"

namespace {

class InterfaceSetupTest : public ChapterFixture {
protected:
    void SetUp() override {
        ChapterFixture::SetUp();
        Vars::loadFromXml("data/vars.xml");
    }
};

const char* const CLICK_TARGETS[] = {"ffwd_button",       "diary_button",     "hint_button",
                                     "smart_hint_button", "skip_button",      "ingame_menu_button",
                                     "resume_resume",     "resume_quit_menu", "resume_quit_game"};

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

    for (const char* name : CLICK_TARGETS) {
        EXPECT_TRUE(uiChapter->getObject(name)->hasEvent("Click")) << name;
    }
    EXPECT_EQ(Vars::variables.getters, (std::map<String, VariableGetter>{
                                           {"localization", Game::getLocalizationVar},
                                           {"smart_hint_button_visible", Game::getSmartHintButtonVisibleVar},
                                           {"shouldShowFirstTimeProfile", Game::getShouldShowFirstTimeProfileVar},
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
    expectInOrder(log(), {"[vorne] HD parm is1", "[zeph] Loading chapter ui", "[zeph] Loading chapter characters",
                          "[zeph] $inv_ignore_notifications: '0' (was '1')"});
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
