#include "ui/SettingsMenu.h"

#include "engine/app/Engine.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Hud.h"

#include "echon/AudioManager.h"
#include "echon/Category.h"
#include "nimbo/Nimbo.h"
#include "nimbo/Window.h"
#include "nimboui/ImageButton.h"
#include "nimboui/Label.h"

#include <algorithm>
#include <utility>

namespace UserInterface::SettingsMenu {

ParamMap userConfig;

namespace {

using Step = std::pair<const char*, const char*>;

// Each stepper's next value by the current one; any value not listed goes to the last entry's.
const Step TEXT_MINUS[] = {{"9999", "3"}, {"3", "2"}, {"2", "1"}, {"", "9999"}};
const Step TEXT_PLUS[] = {{"9999", "1"}, {"3", "9999"}, {"2", "3"}, {"", "2"}};
const Step ASPECT_MINUS[] = {{"screen", "16:9"}, {"16:9", "16:10"}, {"16:10", "3:2"}, {"3:2", "4:3"}, {"", "screen"}};
const Step ASPECT_PLUS[] = {{"screen", "4:3"}, {"4:3", "3:2"}, {"3:2", "16:10"}, {"16:10", "16:9"}, {"", "screen"}};

// The text speed label's key by the value; any other value reads as normal.
const Step TEXT_KEYS[] = {{"2", "SETTINGS_TEXT_SLOWER"},
                          {"3", "SETTINGS_TEXT_SLOWEST"},
                          {"9999", "SETTINGS_TEXT_INF"},
                          {"", "SETTINGS_TEXT_NORMAL"}};

const char* const VOLUME_CHANNELS[] = {"master", "music", "fx", "voice"};

template <size_t N> String lookUp(const Step (&table)[N], const String& value) {
    for (size_t i = 0; i + 1 < N; ++i) {
        if (value == table[i].first) {
            return table[i].second;
        }
    }
    return table[N - 1].second;
}

String userConfigPath() {
    return zephUtil::getUserDataPath() + "zeph.cfg";
}

// The copy of the user's file, read once a run; a missing file reads as empty. Whatever it lacks
// or holds empty takes the parameter's value, so the file is never written back with a gap; every
// other value stays as the player wrote it.
void fillUserConfig() {
    String text;
    if (userConfig.empty() && zephUtil::readPlayerFile(userConfigPath(), text)) {
        Session::parseConfigText(userConfig, text);
    }
    for (const char* key : SETTINGS_KEYS) {
        if (userConfig[key].empty()) {
            userConfig[key] = Session::getParam(key);
        }
    }
}

void registerHandlers() {
    const std::pair<const char*, void (*)(nimboui::EventArgs*)> handlers[] = {
        {"settings_audio_switch", onAudioSwitch},
        {"settings_footsteps_switch", onFootstepsSwitch},
        {"settings_fullscreen_switch", onFullscreenSwitch},
        {"settings_margintex_switch", onMargintexSwitch},
        {"settings_voice_switch", onVoiceSwitch},
        {"settings_text-", onTextMinus},
        {"settings_text+", onTextPlus},
        {"settings_aspect-", onAspectMinus},
        {"settings_aspect+", onAspectPlus},
        {"settings_close", onClose},
    };
    for (const auto& [name, handler] : handlers) {
        uiChapter->getObject(name)->registerEvent("Click", handler);
    }
    for (const char* channel : VOLUME_CHANNELS) {
        for (const char* sign : {"-", "+"}) {
            uiChapter->getObject("settings_" + String(channel) + "_" + sign)->registerEvent("Click", onVolumeStep);
        }
    }
}

nimboui::Label* label(const String& name) {
    return Hud::uiObjectOf<nimboui::Label>(name);
}

void showSettings() {
    setSwitchImages("settings_audio_switch", userConfig["audio_mute"] != "1");
    setSwitchImages("settings_footsteps_switch", userConfig["footstep_sounds"] == "1");
    setSwitchImages("settings_fullscreen_switch", userConfig["fullscreen"] == "1");
    setSwitchImages("settings_margintex_switch", userConfig["margintex"] == "1");
    setSwitchImages("settings_voice_switch", userConfig["voice_switch"] == "1");
    String aspect = userConfig["aspect"];
    if (aspect == "screen") {
        label("settings_aspect_label")->setTextKey("SETTINGS_APECT_SCREEN");
    } else {
        label("settings_aspect_label")->setText(aspect);
    }
    uiChapter->getObject("settings_restart_label")->setVisible(false);
    label("settings_text_label")->setTextKey(lookUp(TEXT_KEYS, userConfig["text_multiplier"]));
    for (const char* channel : VOLUME_CHANNELS) {
        String key = String(channel) + "_volume";
        label("settings_" + key)->setText(userConfig[key] + "%");
    }
}

// Every control ends by entering the menu again, which shows the copy.
void refresh() {
    Session::activeScene->reset();
}

void set(const String& key, const String& value) {
    userConfig[key] = value;
    Session::setParam(key, value);
}

// Plays the click and flips the copy's value: "1" becomes "0", any other "1".
const String& flip(const char* key) {
    Hud::playClick();
    String& value = userConfig[key];
    value = value == "1" ? "0" : "1";
    return value;
}

void toggle(const char* key) {
    Session::setParam(key, flip(key));
}

// While a text-mode exception holds every line (the text speed is then 1), the parameter waits for
// the exception's end, whose listener applies it.
void setTextSpeed(const String& value) {
    set("text_multiplier", value);
    if (Vars::value("textmode_exception") != "1") {
        textMultiplier = Session::textMultiplierOf(value);
    }
}

} // namespace

Menu::Menu(Chapter* chapter) : Scene(chapter, "SettingsMenu") {}

void Menu::onEnter() {
    if (Vars::value("prev_scene") != "ui.SettingsMenu") {
        Vars::get("settings_prev_scene")->setValue(Vars::value("prev_scene"), false);
        fillUserConfig();
        registerHandlers();
    }
    showSettings();
}

void Menu::onUpdate(float) {
    bool fullscreen = nimbo::window->isFullscreen();
    if ((userConfig["fullscreen"] == "1") != fullscreen) {
        set("fullscreen", fullscreen ? "1" : "0");
        refresh();
    }
}

Scene* create(Chapter* chapter) {
    return new Menu(chapter);
}

void setSwitchImages(const String& name, bool on) {
    auto* button = Hud::uiObjectOf<nimboui::ImageButton>(name);
    button->setImageByName(on ? "gui/yes_up" : "gui/yes_dn");
    button->setHoverImageByName(on ? "gui/yes_hover" : "gui/yes_dn_hover");
    button->setPushedImageByName(on ? "gui/yes_dn" : "gui/yes_up");
}

// The sound switch changes the copy alone: the next start reads it from the file.
void onAudioSwitch(nimboui::EventArgs*) {
    flip("audio_mute");
    refresh();
}

void onFootstepsSwitch(nimboui::EventArgs*) {
    toggle("footstep_sounds");
    refresh();
}

void onFullscreenSwitch(nimboui::EventArgs*) {
    bool fullscreen = nimbo::window->isFullscreen();
    toggle("fullscreen");
    nimbo::window->setFullscreen(!fullscreen);
    refresh();
}

void onMargintexSwitch(nimboui::EventArgs*) {
    toggle("margintex");
    refresh();
}

void onVoiceSwitch(nimboui::EventArgs*) {
    toggle("voice_switch");
    refresh();
}

void onTextMinus(nimboui::EventArgs*) {
    Hud::playClick();
    setTextSpeed(lookUp(TEXT_MINUS, userConfig["text_multiplier"]));
    refresh();
}

void onTextPlus(nimboui::EventArgs*) {
    Hud::playClick();
    setTextSpeed(lookUp(TEXT_PLUS, userConfig["text_multiplier"]));
    refresh();
}

void onAspectMinus(nimboui::EventArgs*) {
    Hud::playClick();
    set("aspect", lookUp(ASPECT_MINUS, userConfig["aspect"]));
    refresh();
}

void onAspectPlus(nimboui::EventArgs*) {
    Hud::playClick();
    set("aspect", lookUp(ASPECT_PLUS, userConfig["aspect"]));
    refresh();
}

void onVolumeStep(nimboui::EventArgs* args) {
    Hud::playClick();
    const String& name = args->object->getName();
    String channel = name.split("_")[1];
    String key = channel + "_volume";
    int volume = std::clamp(userConfig[key].toInt() + (name.endsWith("+") ? 5 : -5), 0, 100);
    set(key, String(volume));
    if (echon::mgr) {
        if (channel == "master") {
            echon::mgr->setGlobalGain(volume / 100.0f);
        } else {
            echon::mgr->getCategory(channel)->setGain(volume / 100.0f);
        }
    }
    refresh();
}

ParamMap paramsToSave() {
    ParamMap params = Session::params;
    auto waiting = userConfig.find("audio_mute");
    if (waiting != userConfig.end()) {
        params["audio_mute"] = waiting->second;
    }
    return params;
}

void onClose(nimboui::EventArgs* args) {
    if (args) {
        Hud::playClick();
    }
    // The menu writes its own settings; the other user keys (the profile) are the profile menus'.
    ParamMap settings = Session::params;
    for (const char* key : SETTINGS_KEYS) {
        settings[key] = userConfig[key];
    }
    Session::saveUserConfig(settings, userConfigPath());
    Session::switchScene(Vars::value("settings_prev_scene"), "fade", "", 0.5f);
}

} // namespace UserInterface::SettingsMenu
