// The settings menu on the running game: its steppers, volumes and switches against their edge
// values; the user's file it writes on leaving, as the next start reads it; its copy read once a run
// and mended where the file lacks a value; the fullscreen mirror; the text speed under a text-mode
// exception.
#include "UiTest.h"

#include "engine/app/Engine.h"
#include "engine/session/zephUtil.h"
#include "ui/Menu.h"
#include "ui/SettingsMenu.h"

#include "echon/AudioManager.h"
#include "echon/Category.h"
#include "nimbo/Nimbo.h"
#include "nimbo/Window.h"
#include "nimboui/ImageButton.h"
#include "nimboui/Label.h"

#include <fstream>

namespace {

using UserInterface::SettingsMenu::userConfig;

const int ESC = 27;

class SettingsMenu : public RunningGame {
protected:
    // Enters the menu from the cockpit, as the menus that open it do.
    void enter() {
        switchNow("ui.SettingsMenu");
        ASSERT_EQ(var("settings_prev_scene"), "ship.Cockpit");
    }

    void clickObject(const vessot::String& name) {
        morvec::Vector2 at = centreOf(name);
        game->click(at.x, at.y);
    }

    static vessot::String userFile() { return zephUtil::getUserDataPath() + "zeph.cfg"; }

    static vessot::String labelText(const char* name) {
        auto* label = ui<nimboui::Label>(name);
        return label->getTextKey().empty() ? label->getText() : label->getTextKey();
    }
};

TEST_F(SettingsMenu, TheSteppersGoThroughTheirListsAndShowTheirValue) {
    enter();
    struct Case {
        const char* key;
        const char* from;
        const char* button;
        const char* to;
        const char* shown;
    };
    const Case cases[] = {
        {"text_multiplier", "1", "settings_text-", "9999", "SETTINGS_TEXT_INF"},
        {"text_multiplier", "9999", "settings_text-", "3", "SETTINGS_TEXT_SLOWEST"},
        {"text_multiplier", "3", "settings_text-", "2", "SETTINGS_TEXT_SLOWER"},
        {"text_multiplier", "2", "settings_text-", "1", "SETTINGS_TEXT_NORMAL"},
        {"text_multiplier", "1.0", "settings_text+", "2", "SETTINGS_TEXT_SLOWER"},
        {"text_multiplier", "2", "settings_text+", "3", "SETTINGS_TEXT_SLOWEST"},
        {"text_multiplier", "3", "settings_text+", "9999", "SETTINGS_TEXT_INF"},
        {"text_multiplier", "9999", "settings_text+", "1", "SETTINGS_TEXT_NORMAL"},
        {"aspect", "4:3", "settings_aspect-", "screen", "SETTINGS_APECT_SCREEN"},
        {"aspect", "screen", "settings_aspect-", "16:9", "16:9"},
        {"aspect", "16:9", "settings_aspect-", "16:10", "16:10"},
        {"aspect", "16:10", "settings_aspect-", "3:2", "3:2"},
        {"aspect", "3:2", "settings_aspect-", "4:3", "4:3"},
        {"aspect", "screen", "settings_aspect+", "4:3", "4:3"},
        {"aspect", "4:3", "settings_aspect+", "3:2", "3:2"},
        {"aspect", "3:2", "settings_aspect+", "16:10", "16:10"},
        {"aspect", "16:10", "settings_aspect+", "16:9", "16:9"},
        {"aspect", "5:4", "settings_aspect+", "screen", "SETTINGS_APECT_SCREEN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " " << c.from << " " << c.button);
        userConfig[c.key] = c.from;
        clickObject(c.button);
        EXPECT_EQ(userConfig[c.key], c.to);
        EXPECT_EQ(Session::getParam(c.key), c.to);
        EXPECT_EQ(labelText(vessot::String(c.key) == "aspect" ? "settings_aspect_label" : "settings_text_label"),
                  c.shown);
        if (vessot::String(c.key) == "text_multiplier") {
            EXPECT_FLOAT_EQ(textMultiplier, vessot::String(c.to).toFloat());
        }
    }
}

TEST_F(SettingsMenu, VolumesStepByFiveWithinZeroToAHundredAndSoundAtOnce) {
    enter();
    struct Case {
        const char* channel;
        const char* from;
        const char* sign;
        int to;
    };
    const Case cases[] = {
        {"master", "100", "+", 100}, {"master", "3", "-", 0},   {"master", "50", "+", 55},
        {"music", "0", "-", 0},      {"music", "97", "+", 100}, {"fx", "loud", "+", 5},
        {"fx", "loud", "-", 0},      {"voice", "", "+", 5},     {"voice", "40", "-", 35},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channel << " " << c.from << " " << c.sign);
        vessot::String key = vessot::String(c.channel) + "_volume";
        userConfig[key] = c.from;
        clickObject("settings_" + vessot::String(c.channel) + "_" + c.sign);
        EXPECT_EQ(userConfig[key], vessot::String(c.to));
        EXPECT_EQ(Session::getParam(key), vessot::String(c.to));
        EXPECT_EQ(labelText(("settings_" + key).c_str()), vessot::String(c.to) + "%");
        float gain = vessot::String(c.channel) == "master" ? echon::mgr->getGlobalGain()
                                                           : echon::mgr->getCategory(c.channel)->getGain();
        EXPECT_FLOAT_EQ(gain, c.to / 100.0f);
    }
}

TEST_F(SettingsMenu, SwitchesFlipTheirSettingAndShowItWithTheTickImages) {
    enter();
    struct Case {
        const char* key;
        const char* button;
        const char* from;
        const char* to;
        // Whether the switch shows on afterwards.
        bool on;
    };
    const Case cases[] = {
        {"audio_mute", "settings_audio_switch", "0", "1", false},
        {"audio_mute", "settings_audio_switch", "1", "0", true},
        {"audio_mute", "settings_audio_switch", "", "1", false},
        {"footstep_sounds", "settings_footsteps_switch", "1", "0", false},
        {"footstep_sounds", "settings_footsteps_switch", "0", "1", true},
        {"margintex", "settings_margintex_switch", "0", "1", true},
        {"voice_switch", "settings_voice_switch", "1", "0", false},
        {"voice_switch", "settings_voice_switch", "0", "1", true},
    };
    Session::params["audio_mute"] = "as started";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " from '" << c.from << "'");
        userConfig[c.key] = c.from;
        clickObject(c.button);
        EXPECT_EQ(userConfig[c.key], c.to);
        // The sound switch changes only the copy, which the next start reads.
        EXPECT_EQ(Session::getParam(c.key), vessot::String(c.key) == "audio_mute" ? "as started" : c.to);
        auto* button = ui<nimboui::ImageButton>(c.button);
        EXPECT_EQ(button->getImageName(), c.on ? "gui/yes_up" : "gui/yes_dn");
        EXPECT_EQ(button->getHoverImage(), uiChapter->getImage(c.on ? "gui/yes_hover" : "gui/yes_dn_hover"));
        EXPECT_EQ(button->getPushedImage(), uiChapter->getImage(c.on ? "gui/yes_dn" : "gui/yes_up"));
    }
    // The sound stays as it was until the next start, which reads the change also from a file that
    // a profile menu wrote.
    EXPECT_NE(echon::mgr->getName(), "Disabled");
    Menu::saveUserConfigFile();
    ParamMap written;
    Session::readConfigFile(written, userFile(), false);
    EXPECT_EQ(written["audio_mute"], "1");
}

TEST_F(SettingsMenu, LeavingWritesTheFileThatTheNextStartReads) {
    // A file of an older version: values missing, one empty, one not a number, at the edges of their
    // range, the player's own beyond what the menu offers, another profile.
    std::ofstream(userFile()) << "master_volume: \nfx_volume: loud\nprofile: _profile7\nmusic_volume: 100\n"
                                 "voice_volume: 0\ntext_multiplier: 0.5\nfootstep_sounds: 2\n";
    Session::setParam("profile", "_profile2");
    Session::params["aspect"] = "16:10";
    enter();
    EXPECT_EQ(labelText("settings_master_volume"), "100%");
    EXPECT_EQ(labelText("settings_fx_volume"), "loud%");
    EXPECT_EQ(labelText("settings_music_volume"), "100%");
    EXPECT_EQ(labelText("settings_voice_volume"), "0%");
    EXPECT_EQ(labelText("settings_aspect_label"), "16:10");
    EXPECT_FALSE(ui("settings_restart_label")->isVisible());
    clickObject("settings_master_+");
    clickObject("settings_fx_+");
    clickObject("settings_close");
    EXPECT_EQ(Session::activeTransition, Session::transitions["fade"]);
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");

    Session::loadConfig();
    const std::pair<const char*, const char*> expected[] = {
        {"audio_mute", "0"},     {"footstep_sounds", "2"},   {"fullscreen", "0"},   {"margintex", "0"},
        {"voice_switch", "1"},   {"text_multiplier", "0.5"}, {"aspect", "16:10"},   {"master_volume", "100"},
        {"music_volume", "100"}, {"fx_volume", "5"},         {"voice_volume", "0"}, {"profile", "_profile2"},
    };
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(Session::getParam(key), value) << key;
    }
    ParamMap written;
    Session::readConfigFile(written, userFile(), false);
    EXPECT_EQ(written.size(), std::size(expected));
}

TEST_F(SettingsMenu, EscWritesTheFileWithoutAClickAndTheCopyIsReadOncePerRun) {
    enter();
    clickObject("settings_music_-");
    echon::mgr->stopAll();
    game->key(ESC);
    EXPECT_FALSE(echon::mgr->isAnyPlaying(uiChapter->getFullSoundName("click")));
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    ParamMap written;
    Session::readConfigFile(written, userFile(), false);
    EXPECT_EQ(written["music_volume"], "65");

    // What the file says now is not read again: the menu shows its own copy.
    std::ofstream(userFile()) << "music_volume: 10\n";
    enter();
    EXPECT_EQ(labelText("settings_music_volume"), "65%");
}

TEST_F(SettingsMenu, TheFullscreenSwitchFollowsTheWindow) {
    enter();
    ASSERT_FALSE(nimbo::window->isFullscreen()); // a headless window never is
    userConfig["fullscreen"] = "1";
    game->step();
    EXPECT_EQ(userConfig["fullscreen"], "0");
    EXPECT_EQ(Session::getParam("fullscreen"), "0");
    EXPECT_EQ(ui<nimboui::ImageButton>("settings_fullscreen_switch")->getImageName(), "gui/yes_dn");
}

TEST_F(SettingsMenu, DuringATextModeExceptionTheTextSpeedWaitsForItsEnd) {
    enter();
    game->setVar("textmode_exception", "1");
    ASSERT_FLOAT_EQ(textMultiplier, 1.0f);
    userConfig["text_multiplier"] = "1";
    clickObject("settings_text-");
    EXPECT_EQ(Session::getParam("text_multiplier"), "9999");
    EXPECT_FLOAT_EQ(textMultiplier, 1.0f);
    game->setVar("textmode_exception", "0");
    EXPECT_FLOAT_EQ(textMultiplier, 9999.0f);
}

} // namespace
