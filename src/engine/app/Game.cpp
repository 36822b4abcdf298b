// The process's life: the framework's init and destroy callbacks, the fatal error report and the
// choice of the interface language.
#include "engine/app/Game.h"

#include "engine/InterfaceServices.h"
#include "engine/app/Engine.h"
#include "engine/app/EventDelegate.h"
#include "engine/app/Lifetime.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "engine/view/Input.h"

#include "nimbo/MessageBox.h"
#include "nimbo/Nimbo.h"
#include "nimbo/SystemInfo.h"
#include "nimboui/nimboui.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "tulm/Achievements.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <cstdio>
#include <cstdlib>

namespace Game {

namespace {

std::function<void(int)> exitHook;

const char* const ACCEPTED_LOCALES[] = {"de", "en", "es", "fr", "it", "ja", "ko", "pt", "pt-PT", "ru", "zh"};

// The system's language as the game names it: every Chinese is "zh", Brazilian Portuguese "pt".
String systemLanguage() {
    const nimbo::SystemInfo info = nimbo::getSystemInfo();
    const String& locale = info.locale;
    if (locale.startsWith("zh")) {
        return "zh";
    }
    return locale == "pt-BR" ? String("pt") : locale;
}

bool isAcceptedLocale(const String& code) {
    for (const char* accepted : ACCEPTED_LOCALES) {
        if (code == accepted) {
            return true;
        }
    }
    return false;
}

} // namespace

void setExitHook(std::function<void(int)> hook) {
    exitHook = std::move(hook);
}

void exitProcess(int code) {
    if (exitHook) {
        exitHook(code);
    }
    // The process ends where it stands, with no static destructor: those would free textures and
    // fonts through SDL's memory functions after their own state is gone, while the audio and video
    // threads still run. The log is flushed entry by entry; the standard streams are flushed here.
    std::fflush(nullptr);
    std::quick_exit(code);
}

void reportFatalException(const vessot::exception& exception) {
    String message = exception.message();
    vessot::Log::write("", "\n----------------------\nEXCEPTION: " + message + "\n----------------------\n");
    if (nimbo::window) {
        nimbo::window->setMouseDelegate(nullptr);
        nimbo::window->setKeyboardDelegate(nullptr);
    }
    nimbo::messageBox("Vestrel Vorne: ERROR!",
                      "An error has ocurred!\n\nDetails:\n" + message +
                          "\n---------------\nPlease check if you're running the latest version of the game, it's "
                          "possible this issue has previously been reported and fixed.\nIf not, please contact Tech "
                          "Support responsible for your copy of the game.\n\nSorry for the inconvenience!",
                      nimbo::MESSAGE_BUTTON_OK, nimbo::MESSAGE_STYLE_ERROR);
    exitProcess(1);
}

void guarded(const std::function<void()>& body) {
    try {
        Lifetime::Scope scope;
        body();
    } catch (const ExitRequest&) {
        throw;
    } catch (const vessot::exception& e) {
        reportFatalException(e);
    } catch (const std::exception& e) {
        reportFatalException(vessot::exception(e.what()));
    } catch (...) {
        reportFatalException(vessot::exception("unknown exception"));
    }
}

void chooseLocale() {
    String chosen;
    String path = zephUtil::getUserDataPath() + "/lang.cfg";
    String content;
    if (zephUtil::readPlayerFile(path, content) && isAcceptedLocale(content)) {
        chosen = content;
    }
    if (chosen.empty()) {
        GameUtil::logMessage("locale set to automatic, determining system locale...");
        String locale = systemLanguage();
        GameUtil::logMessage("system locale: " + locale);
        if (isAcceptedLocale(locale)) {
            chosen = locale;
            GameUtil::logMessage("localization found, using system locale");
        } else {
            GameUtil::logMessage("localization not found, defaulting to English");
        }
    }
    if (!chosen.empty() && chosen != "en") {
        nimboui::setLocalization(chosen);
    }
}

void initGame(const vessot::Array<String>&) {
    guarded([] {
        Session::createWindow();
        nimboui::setForcedDynamicLoading(true);
        chooseLocale();
        ensureLoadingScreen();
        ensureLoadingScreen();
        nimbo::window->setUpdateDelegate(nullptr);
        startGame();
    });
}

void startGame() {
    Session::init();
    if (Session::getParam("zeph_platform") != "pc") {
        for (auto [name, value] : {std::pair{"user_has_touchscreen", "1"}, {"user_has_mouse", "0"}}) {
            Variable* variable = Vars::get(name);
            variable->setValue(value, false);
            variable->initialValue = variable->value;
        }
    }
    if (!Achievements::idMapper) {
        Achievements::idMapper = new Achievements::IdMapper();
    }
    Achievements::idMapper->createService(Achievements::profileAchievementsFile(), nullptr);
    nimboui::setMacroCallback(expandGuiMacro);
    Vars::get("chapter_mode")->setValue(Session::getParam("chapter_mode"), false);
    Vars::snapshotInitialValues();
    textMultiplier = Session::textMultiplierOf(Session::getParam("text_multiplier"));
    // On "pc" the interface draws its own cursor.
    if (Session::getParam("target") == "pc") {
        nimbo::window->setCursorVisible(false);
    }
    nimboui::setForcedDynamicLoading(true);
    nimboui::setTextureIdleUnloadTime(nimbo::getSystemInfo().ram < 500 ? 10.0f : 60.0f);
    setupFonts();
    runel::renderer->setUseLegacyLineBreakParsing(true);
    String scene = Session::getParam("scene");
    if (scene.empty()) {
        throw vessot::exception("The parameter \"scene\" is missing from cfg/zeph.cfg", __FILE__, __LINE__);
    }
    if (scene.startsWith("./")) {
        // A saved state under the resource root, never a file elsewhere.
        if (!vessot::DirBase::staysInside(scene)) {
            throw vessot::exception(Session::configFileOf("scene") + ": the key 'scene' ('" + scene +
                                        "') must name a file under the game's folder (no '..')",
                                    __FILE__, __LINE__);
        }
        Vars::loadDiff(scene);
        Session::setParam("scene", Vars::value("active_scene"));
    }
    setupUserInterface();
    Session::switchScene(Session::getParam("scene"), "", "", 0.0f);
    nimbo::window->setMouseDelegate(&eventDelegate);
    nimbo::window->setKeyboardDelegate(&eventDelegate);
    nimbo::window->setTouchDelegate(&eventDelegate);
    nimbo::window->setUpdateDelegate(&eventDelegate);
    nimbo::window->setSystemDelegate(&eventDelegate);
}

void destroyGame() {
    guarded([] {
        vessot::Log::write("game", "Destroying game");
        runelttf::destroy();
        tulm::destroy();
        delete Achievements::idMapper;
        Achievements::idMapper = nullptr;
        Session::destroy();
    });
}

} // namespace Game
