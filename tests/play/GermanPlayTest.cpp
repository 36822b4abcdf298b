// The game in German, as a player who chose "Deutsch" in the language menu meets it at the next
// start ("de" in "lang.cfg"): the main menu's buttons and a scene's hover label show the German
// texts, no raw key, and every one-line text of the menus and scenes fits its box.
#include "GameHarness.h"

#include "ui/Hud.h"
#include "ui/Menu.h"

#include "nimboui/Label.h"
#include "nimboui/nimboui.h"
#include "runel/Renderer.h"
#include "vessxml/Xml.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace {

namespace fs = std::filesystem;

GameHarness::Options inGerman(const char* scene) {
    GameHarness::Options options;
    options.language = "de";
    options.scene = scene;
    return options;
}

std::map<std::string, std::string> textsOf(const fs::path& folder, const std::string& language) {
    std::map<std::string, std::string> texts;
    vessxml::Document document = vessxml::open((folder / "texts" / (language + ".xml")).string());
    for (vessxml::Node* text : document->children()) {
        texts[text->pstr("key")] = text->getText();
    }
    return texts;
}

// Fails when the text, drawn in font on one line, is wider than width.
void expectFits(const std::string& where, const std::string& font, const std::string& text, float width) {
    EXPECT_LE(runel::renderer->getTextWidth(font, text), width) << where << ": '" << text << "' in " << font;
}

// The objects under node with a text key, drawn on one line (alignment 0 to 2): their text fits
// their width.
void expectTextsFit(vessxml::Node* node, const std::map<std::string, std::string>& texts, const fs::path& file) {
    auto text = texts.find(node->pstr("text_key", ""));
    if (text != texts.end() && node->pexists("w") && node->pint("align", 0) < 3) {
        expectFits(file.string() + " " + std::string(node->pstr("name")), node->pstr("font", ""), text->second,
                   node->pfloat("w"));
    }
    for (vessxml::Node* child : node->children()) {
        expectTextsFit(child, texts, file);
    }
}

} // namespace

TEST(GermanPlay, TheMainMenuShowsItsButtonsInGerman) {
    GameHarness game(inGerman("menu.MainMenu"));
    game.passLoadingFade();
    ASSERT_EQ(nimboui::getLocalization(), "de");
    ASSERT_EQ(game.activeScene(), "menu.MainMenu");
    const struct {
        const char* button;
        const char* text;
    } cases[] = {
        {"new_game_btn", "Neues Spiel"},        {"resume_disabled_label", "Fortsetzen"},
        {"load_game_btn", "Spiel laden"},       {"settings_btn", "Einstellungen"},
        {"achievements_btn", "Erfolge"},        {"credits_btn", "Mitwirkende"},
        {"promo_video_btn", "Trailer ansehen"}, {"quit_btn", "Beenden"},
    };
    for (const auto& c : cases) {
        auto* label = Menu::objectOf<nimboui::Label>(c.button);
        EXPECT_EQ(label->getDisplayedText(), c.text) << c.button;
    }
    EXPECT_EQ(Menu::objectOf<nimboui::Label>("profile_btn")->getDisplayedText().substr(0, 7), "Profil:");
}

TEST(GermanPlay, AScenesHoverLabelNamesTheHotspotInGerman) {
    GameHarness game(inGerman("ship.Cockpit"));
    game.passLoadingFade();
    game.move(180, 240); // the console
    game.step();
    EXPECT_EQ(Hud::rolloverText, "Konsole einschalten");
    game.move(342, 166); // the dial lock, whose key carries a direction
    game.step();
    EXPECT_EQ(Hud::rolloverText, "Drehschloss");
}

namespace {

// Every one-line text of the scenes and interface definitions in the language, and the texts the
// interface's code puts into one-line labels, fit their boxes.
void expectEveryTextFits(GameHarness& game, const std::vector<fs::path>& folders, const std::string& language) {
    int files = 0;
    for (const fs::path& folder : folders) {
        std::map<std::string, std::string> texts = textsOf(folder, language);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.path().extension() == ".scene" || entry.path().extension() == ".datadef") {
                vessxml::Document document = vessxml::open(entry.path().string());
                expectTextsFit(document.operator->(), texts, entry.path());
                ++files;
            }
        }
    }
    EXPECT_GT(files, 20);

    // The texts the interface's code puts into one-line labels: the achievements' titles (in the
    // font of their tag), descriptions and popup note, the settings' values and the hint book's footer.
    const struct {
        const char* label;
        const char* keyPrefix;
        const char* font; // empty: the label's own
    } filled[] = {
        {"acm_label_1", "achievement_title_", "hheaven:0.55"},
        {"acm_label_1", "achievement_desc_", ""},
        {"acm_label_1", "achievement_unlocked_desc_", ""},
        {"ac_label_1", "achievement_title_", "hheaven:0.55"},
        {"ac_label_1", "ACHIEVEMENTS_INFO", ""},
        {"settings_text_label", "SETTINGS_TEXT_NORMAL", ""},
        {"settings_text_label", "SETTINGS_TEXT_SLOW", ""},
        {"settings_text_label", "SETTINGS_TEXT_INF", ""},
        {"settings_aspect_label", "SETTINGS_APECT_", ""},
        {"hintbook_tooltip", "HINT_TOOLTIP_", ""},
    };
    std::map<std::string, std::string> ui = textsOf("data/ui", language);
    for (const auto& f : filled) {
        auto* label = dynamic_cast<nimboui::Label*>(game.uiObject(f.label));
        ASSERT_TRUE(label) << f.label;
        int texts = 0;
        for (const auto& [key, text] : ui) {
            if (key.rfind(f.keyPrefix, 0) == 0) {
                expectFits(std::string(f.label) + " " + key, *f.font ? f.font : label->getFont(), text,
                           label->getWidth());
                ++texts;
            }
        }
        EXPECT_GT(texts, 0) << f.keyPrefix;
    }
}

} // namespace

// Both languages' texts are measured in the same fonts, so the English ones are checked here too.
TEST(GermanPlay, EveryOneLineTextOfTheScenesFitsItsBoxInGermanAndEnglish) {
    GameHarness game(inGerman("menu.MainMenu"));
    std::vector<fs::path> folders{"data/ui"};
    for (const fs::directory_entry& entry : fs::directory_iterator("data/chapters")) {
        folders.push_back(entry.path());
    }
    for (const char* language : {"de", "en"}) {
        SCOPED_TRACE(language);
        expectEveryTextFits(game, folders, language);
    }
}
