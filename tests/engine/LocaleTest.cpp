// The choice of the interface language from the user's "lang.cfg" and the system's locale.
#include "GameRun.h"

#include "engine/app/Game.h"

#include "nimboui/nimboui.h"

#include <cstdio>
#include <optional>

namespace {

const char* const AUTOMATIC = "[vorne] locale set to automatic, determining system locale...\n";
const char* const FOUND = "[vorne] localization found, using system locale\n";
const char* const NOT_FOUND = "[vorne] localization not found, defaulting to English\n";

} // namespace

TEST(LocaleTest, LanguageFileThenSystemThenEnglish) {
    const TempDir& user = testUserFolder();
    vessot::Log::setEcho(false);
    struct Case {
        std::optional<std::string> langFile; // none: no file
        const char* systemLocale;
        const char* chosen; // the GUI library's localisation afterwards ("" = English)
        std::string log;
    } cases[] = {
        // "en" is chosen without asking the system and leaves the default language.
        {"en", "de_DE.UTF-8", "", ""},
        {"fr", "de_DE.UTF-8", "fr", ""},
        {"pt-PT", "de_DE", "pt-PT", ""},
        // The file's content is compared exactly: a line break makes it unknown.
        {"en\n", "de_DE.UTF-8", "de", std::string(AUTOMATIC) + "[vorne] system locale: de\n" + FOUND},
        {"", "it_IT", "it", std::string(AUTOMATIC) + "[vorne] system locale: it\n" + FOUND},
        {"xx", "nl_NL", "", std::string(AUTOMATIC) + "[vorne] system locale: nl\n" + NOT_FOUND},
        {std::nullopt, "zh_TW", "zh", std::string(AUTOMATIC) + "[vorne] system locale: zh\n" + FOUND},
        {std::nullopt, "zh_CN.UTF-8", "zh", std::string(AUTOMATIC) + "[vorne] system locale: zh\n" + FOUND},
        {std::nullopt, "pt_BR", "pt", std::string(AUTOMATIC) + "[vorne] system locale: pt\n" + FOUND},
        {std::nullopt, "pt_PT", "pt-PT", std::string(AUTOMATIC) + "[vorne] system locale: pt-PT\n" + FOUND},
        {std::nullopt, "nl", "", std::string(AUTOMATIC) + "[vorne] system locale: nl\n" + NOT_FOUND},
        {std::nullopt, "C", "", std::string(AUTOMATIC) + "[vorne] system locale: en\n" + FOUND},
    };
    for (const Case& c : cases) {
        std::string label = c.langFile.value_or("(no file)") + " / " + c.systemLocale;
        std::remove((user / "lang.cfg").c_str());
        if (c.langFile) {
            writeWholeFile(user / "lang.cfg", *c.langFile);
        }
        setenv("ZEPH_LOCALE", c.systemLocale, 1);
        nimboui::setLocalization("");
        vessot::Log::setFilename(user / "game.log", true);
        Game::chooseLocale();
        EXPECT_EQ(nimboui::getLocalization(), c.chosen) << label;
        EXPECT_EQ(readWholeFile(user / "game.log"), c.log) << label;
    }
    vessot::Log::reset();
    vessot::Log::setEcho(true);
}
