// Game services of start-up and the frame: the platform target, the fonts, the loading picture, the
// variable listeners and computed variables of the interface, and the GUI macros.
#include "engine/InterfaceServices.h"
#include "engine/app/Engine.h"
#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"

#include "echon/AudioManager.h"
#include "nimbo/Nimbo.h"
#include "nimbo/SystemInfo.h"
#include "nimboui/nimboui.h"
#include "runel/FontBitmap.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "vessot/File.h"

#include <algorithm>

nimbo::Texture* loadingScreenTexture = nullptr;
float loadingScreenFade = -1.0f;
morvec::Rectangle loadingScreenRect;
float loadingScreenAlpha = 0.0f;

namespace Game {

namespace {

bool ttfReady = false;

void registerFont(runel::Font* font, float shadow, float border) {
    runel::renderer->registerFont(font, true);
    runel::renderer->setShadowOffset(morvec::Vector2(shadow, shadow));
    runel::renderer->setBorderOffset(border);
}

nimbo::Texture* loadPicture(const String& path) {
    return nimbo::rendersys->createTextureFromResource(path, nimbo::Texture::TYPE_MANAGED, true);
}

} // namespace

void setPlatformTarget(bool touch) {
    Session::setParam("target", touch ? "tablet" : "pc");
    Vars::get("zeph_target")->setValue(Session::getParam("target"), false);
    Variable* touchscreen = Vars::get("user_has_touchscreen");
    if (touchscreen->getValue() == "0") {
        touchscreen->setValue("1", false);
        touchscreen->initialValue = touchscreen->value;
    }
}

void setupFonts() {
    if (!ttfReady) {
        runelttf::init();
        ttfReady = true;
    }
    String lang = nimboui::getLocalization();
    int height = nimbo::window->getHeight();
    if (lang.empty() && height >= 768) {
        float size = (float)height * 0.0625f;
        registerFont(new runelttf::FontTtf("data/ui/fonts/radodid.ttf", "radodid", size, 20.0f / size, 0.0f, true),
                     size / 20, size / 20);
    } else {
        String code = lang;
        if (code.startsWith("zh")) {
            code = "zh";
        }
        if (code.contains("_")) {
            code = code.split("_")[0];
        }
        if (!lang.empty() && vessot::Resource::exists("data/ui/fonts/font_" + code + ".font")) {
            bool large = code.startsWith("ja") || code.startsWith("zh") || code.startsWith("ko");
            String suffix = large && nimbo::getSystemInfo().ram > 128 ? "_hd" : "";
            registerFont(new runel::FontBitmap("data/ui/fonts/font_" + code + suffix + ".font"), 1.0f, 1.0f);
        } else {
            registerFont(new runel::FontBitmap("data/ui/fonts/radodid.font"), 2.0f, 2.0f);
        }
    }
    runel::renderer->setDefaultFont("radodid");
}

void ensureLoadingScreen(const String&) {
    if (!Session::getParam("loading_screen").toBool() || loadingScreenTexture) {
        return;
    }
    if (!Vars::variables.variables.empty() && Vars::value("prev_scene") == "intro.Intro01") {
        return;
    }
    String dir = "data";
    String suffix;
    String localization = nimboui::getLocalization();
    if (!localization.empty()) {
        dir = "data/loading_screen_localizations";
        suffix = "_" + localization;
    }
    String path;
    if (Session::getParam("target") == "mobile") {
        path = dir + "/loading_screen_mobile" + suffix + "_hd.png";
        loadingScreenRect = morvec::Rectangle(0, 0, 960, 640);
    } else {
        path = dir + "/loading_screen" + suffix + "_hd.png";
        loadingScreenRect = morvec::Rectangle();
    }
    if (vessot::Resource::exists(path, true)) {
        loadingScreenTexture = loadPicture(path);
    } else {
        loadingScreenRect = morvec::Rectangle();
        loadingScreenTexture = loadPicture("data/loading_screen_hd.png");
    }
}

void releaseLoadingScreen() {
    delete loadingScreenTexture;
    loadingScreenTexture = nullptr;
}

void drawLoadingScreen(float alpha) {
    loadingScreenAlpha = alpha;
    nimbo::RenderSystem* rs = nimbo::rendersys;
    if (alpha == 1.0f) {
        rs->clear(true, false);
    }
    if (!loadingScreenTexture) {
        return;
    }
    Hud::setProjection(true);
    morvec::Matrix4 inverse = rs->getProjectionMatrix().inverse();
    float grow = (1 - alpha) * 0.2f;
    float a = 1 + grow;
    float b = -1 - grow;
    morvec::Vector3 topLeft = inverse.transformPoint(morvec::Vector3(b, a, 0));
    morvec::Vector3 topRight = inverse.transformPoint(morvec::Vector3(a, a, 0));
    morvec::Vector3 bottomRight = inverse.transformPoint(morvec::Vector3(a, b, 0));
    rs->setTexture(loadingScreenTexture);
    float aspect = std::min(nimbo::window->getAspectRatio(), 1.7777778f);
    float width = topRight.x - topLeft.x;
    float height = bottomRight.y - topRight.y;
    morvec::Rectangle dest(topLeft.x, topLeft.y, width, height);
    morvec::Rectangle source;
    if (loadingScreenRect.w == 0) {
        float shown = width * (1.7777778f / aspect);
        dest = morvec::Rectangle(topLeft.x - (shown - width) / 2, topLeft.y, shown, height);
        source = morvec::Rectangle(0, 0, 1.0f, 0.75f);
    } else {
        source = morvec::Rectangle(0, 0, loadingScreenRect.w / 1024, loadingScreenRect.h / 1024);
    }
    rs->drawTexturedRect(dest, source, nimbo::Color(255, 255, 255, (int)(alpha * 255)));
}

void onHintVariableChanged(Variable*, const String& newValue, const String& oldValue) {
    if (newValue == oldValue || (newValue != "0" && newValue != "1") ||
        Vars::value("diary_ignore_notifications") != "0") {
        return;
    }
    std::vector<float>& queue = Hud::taskNotifications;
    if (newValue == "0") {
        Session::log("NOTIFICATION: TASK COMPLETE!");
        String sound = uiChapter ? uiChapter->getFullSoundName("task_complete") : String();
        if (!sound.empty()) {
            echon::mgr->play(sound, 0.0f, false, 1.0f);
        }
        if (queue.empty() || queue.back() < 0.0f) {
            queue.push_back(1.0f);
        }
    } else {
        Session::log("NOTIFICATION: TASK ADDED!");
        if (queue.empty() || queue.back() > 0.0f) {
            queue.push_back(-1.0f);
        }
    }
    if (uiChapter) {
        if (auto* button = dynamic_cast<nimboui::ImageButton*>(uiChapter->findObject("diary_button"))) {
            button->setImageByName("null");
            button->setHoverImageByName("null");
        }
    }
}

void onTextModeExceptionChanged(Variable*, const String& newValue, const String&) {
    textMultiplier = newValue == "1" ? 1.0f : Session::textMultiplierOf(Session::getParam("text_multiplier"));
}

String getLocalizationVar() {
    return nimboui::getLocalization();
}

String getSmartHintButtonVisibleVar() {
    nimboui::Object* button = uiChapter ? uiChapter->findObject("smart_hint_button") : nullptr;
    return button && button->isVisible() && button->getAlpha() > 0.0f ? "1" : "0";
}

String getShouldShowFirstTimeProfileVar() {
    String folder = zephUtil::getUserDataPath();
    for (const String& name : vessot::Dir::directories(folder)) {
        if (name.startsWith("_profile")) {
            return "0";
        }
    }
    return vessot::File::exists(folder + "username.txt") ? "0" : "1";
}

String expandGuiMacro(const String& name) {
    if (name == "$mainmenu") {
        return "scenes/MainMenu_hd.png";
    }
    if (name == "$menu_elements") {
        return "textures/menu_elements_hd.png";
    }
    return "macro_error('" + name + "')";
}

} // namespace Game
