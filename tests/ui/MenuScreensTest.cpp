// The mode menu, the credits and the language menu on the running game, and the menu chapter's
// registration across loads.
#include "FrontEndFixture.h"

#include "script/Actions.h"

#include "nimboui/Label.h"
#include "vessot/File.h"

namespace {

Menu::ModeMenu* modeMenu() {
    return dynamic_cast<Menu::ModeMenu*>(Session::activeScene);
}

nimbo::Color labelColour(const char* label) {
    return Menu::objectOf<nimboui::Label>(label)->getColor();
}

const nimbo::Color ORANGE("FF7F00");
const nimbo::Color WHITE("FFFFFF");

TEST_F(FrontEndTest, TheModeMenuStartsAGameOnlyOnceAChoiceIsMade) {
    const struct {
        std::vector<const char*> clicks;
        const char* casual;
    } choices[] = {
        {{"modemenu_ok"}, nullptr},
        {{"vorne_hardcore", "vorne_casual", "modemenu_ok"}, "1"},
        {{"vorne_casual", "vorne_hardcore", "modemenu_ok"}, "0"},
    };
    for (const auto& choice : choices) {
        enter("ModeMenu");
        game->setVar("casual_mode", "unset");
        game->setVar("expandable_hints", "unset");
        for (const char* button : choice.clicks) {
            press(button);
        }
        if (!choice.casual) {
            EXPECT_EQ(target(), "");
            EXPECT_EQ(var("casual_mode"), "unset");
            continue;
        }
        EXPECT_EQ(target(), "intro.Intro01");
        EXPECT_EQ(var("casual_mode"), choice.casual);
        EXPECT_EQ(var("expandable_hints"), choice.casual);
        game->finishTransition();
    }
}

TEST_F(FrontEndTest, TheChoiceFadesAtOneASecondAndColoursItsLabel) {
    enter("ModeMenu");
    EXPECT_EQ(nimboui::getCursorPosition(), morvec::Vector2(-100, -100));
    game->move(220, 100); // the pointer between the two sides
    game->step();
    EXPECT_FLOAT_EQ(menu("vorne_hardcore")->getAlpha(), 1.01f);
    EXPECT_EQ(menu("modemenu_ok")->getAlpha(), 0.5f);
    Menu::ModeMenu::onCasual(nullptr);
    game->stepSeconds(0.5f);
    EXPECT_NEAR(modeMenu()->hardcoreAlpha, 0.5f, 0.02f);
    EXPECT_EQ(modeMenu()->casualAlpha, 1.0f);
    game->stepSeconds(0.6f);
    EXPECT_NEAR(modeMenu()->hardcoreAlpha, 0.0f, 0.001f);
    EXPECT_NEAR(menu("vorne_hardcore")->getAlpha(), 0.01f, 0.001f);
    EXPECT_EQ(menu("modemenu_ok")->getAlpha(), 1.0f);
    EXPECT_EQ(labelColour("label_casual"), ORANGE);
    EXPECT_EQ(labelColour("label_hardcore"), WHITE);
    Menu::ModeMenu::onHardcore(nullptr);
    game->stepSeconds(1.1f);
    EXPECT_NEAR(modeMenu()->hardcoreAlpha, 1.0f, 0.001f);
    EXPECT_NEAR(modeMenu()->casualAlpha, 0.0f, 0.001f);
    EXPECT_EQ(labelColour("label_hardcore"), ORANGE);
}

TEST_F(FrontEndTest, TheLabelsFollowThePointerOnlyWhereThereIsOne) {
    const struct {
        const char* target;
        morvec::Vector2 pointer;
        nimbo::Color hardcore, casual;
    } cases[] = {
        {"pc", {90, 100}, ORANGE, WHITE}, {"pc", {300, 100}, WHITE, ORANGE},   {"pc", {220, 100}, WHITE, WHITE},
        {"pc", {90, 295}, WHITE, WHITE},  {"tablet", {90, 100}, WHITE, WHITE}, {"tablet", {300, 100}, WHITE, WHITE},
    };
    enter("ModeMenu");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target << " " << c.pointer.x << "," << c.pointer.y);
        Session::setParam("target", c.target);
        nimboui::setCursorPosition(c.pointer);
        Session::activeScene->onUpdate(0.0f);
        EXPECT_EQ(labelColour("label_hardcore"), c.hardcore);
        EXPECT_EQ(labelColour("label_casual"), c.casual);
    }
}

TEST_F(FrontEndTest, TheCreditsMoveUpFasterOnPhonesAndNothingElse) {
    for (const auto& [platform, speed] : {std::make_pair("pc", 15.0f), std::make_pair("mobile", 20.0f)}) {
        SCOPED_TRACE(platform);
        Session::setParam("target", platform);
        enter("Credits");
        float first = menu("__credits_01")->getY();
        float last = menu("__credits_08")->getY();
        Session::activeScene->update(2.0f);
        EXPECT_FLOAT_EQ(menu("__credits_01")->getY(), first - 2 * speed);
        EXPECT_FLOAT_EQ(menu("__credits_08")->getY(), last - 2 * speed);
        Session::activeScene->update(20.0f); // the first line is off the top, still as drawn
        EXPECT_EQ(menu("__credits_01")->getAlpha(), 1.0f);
        enter("MainMenu");
    }
}

TEST_F(FrontEndTest, TheLanguageMenuMarksTheChoiceForTheNextStart) {
    const struct {
        const char* file; // null: no "lang.cfg"
        const char* localization;
        const char* marked;
        bool waits;
    } cases[] = {
        {nullptr, "", "en", false},       {nullptr, "de", "de", false}, {"xx", "de", "en", true},
        {"", "de", "en", true},           {"en\n", "", "en", false},    {"pt-PT", "", "pt-PT", true},
        {"ja", "ja", "ja", false},        {" ko", "", "en", false},     {nullptr, "ja_draskel", "en", false},
        {"de", "ja_draskel", "de", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.file ? c.file : "(none)") << " in " << c.localization);
        std::filesystem::remove(user("lang.cfg"));
        if (c.file) {
            std::ofstream(user("lang.cfg"), std::ios::binary) << c.file;
        }
        nimboui::setLocalization(c.localization);
        enter("LocaleMenu");
        nimboui::Object* flag = menu(vessot::String("locale_") + c.marked);
        EXPECT_EQ(menu("locale_selector")->getPosition(), flag->getPosition() - morvec::Vector2(5, 5));
        EXPECT_EQ(menu("locale_restart_label")->isVisible(), c.waits);
        enter("MainMenu");
    }
}

TEST_F(FrontEndTest, AFlagWritesItsCodeAlone) {
    enter("LocaleMenu");
    for (const char* code : Menu::LOCALE_CODES) {
        SCOPED_TRACE(code);
        press(vessot::String("locale_") + code);
        EXPECT_EQ(vessot::File::hread(user("lang.cfg")), code);
        EXPECT_EQ(menu("locale_restart_label")->isVisible(), std::string(code) != "en");
        EXPECT_EQ(menu("locale_selector")->getX(), menu(vessot::String("locale_") + code)->getX() - 5);
    }
    press("locale_back_btn");
    EXPECT_EQ(target(), "MainMenu");
}

TEST_F(FrontEndTest, TheMenuChapterRegistersItsClassesAtEveryLoad) {
    Chapter* chapter = Menu::chapter();
    EXPECT_EQ(chapter->preLoadCallback, &Menu::registerScenes);
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        ASSERT_NO_THROW(chapter->load());
        EXPECT_TRUE(dynamic_cast<Menu::MainMenu*>(chapter->getScene("MainMenu")));
        EXPECT_TRUE(dynamic_cast<Menu::Credits*>(chapter->getScene("Credits")));
        EXPECT_TRUE(dynamic_cast<Menu::LocaleMenu*>(chapter->getScene("LocaleMenu")));
        EXPECT_TRUE(dynamic_cast<Menu::ModeMenu*>(chapter->getScene("ModeMenu")));
        EXPECT_TRUE(dynamic_cast<Menu::ProfileManager*>(chapter->getScene("ProfileManager")));
        auto* first = dynamic_cast<Menu::FirstTimeProfile*>(chapter->getScene("FirstTimeProfile"));
        ASSERT_TRUE(first);
        EXPECT_TRUE(first->clearDefaultName);
        EXPECT_EQ(chapter->getNamedAction("OnPMDeleteOk")->getTypeName(), "UserCallback");
        EXPECT_EQ(chapter->getNamedAction("quit_action")->getTypeName(), "EndProgram");
        chapter->unload();
    }
}

} // namespace
