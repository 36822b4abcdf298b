// Engine initialisation and shut-down: the window, the libraries, the transitions and chapters.
#include "engine/app/Engine.h"

#include "engine/ContentServices.h"
#include "engine/app/Game.h"
#include "engine/objects/VideoObject.h"
#include "engine/scene/ActionMap.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "script/Inventory.h"

#include "echon/AudioManager.h"
#include "nimbo/MessageBox.h"
#include "nimbo/Nimbo.h"
#include "nimbo/SystemInfo.h"
#include "nimboui/nimboui.h"
#include "reelix/TheoraVideoManager.h"
#include "runel/Renderer.h"
#include "tulm/System.h"
#include "vessot/File.h"
#include "vessot/Log.h"
#include "vessot/System.h"

#include <cstdlib>

int screenWidth = 426;
int screenHeight = 320;
int videoWorkerCount = 1;
echon::ParallelSoundManager musicQueue(1.0f);
float textMultiplier = 1000.0f;

namespace Session {

namespace {

const char* const CATEGORIES[][2] = {
    {"fx", "fx_volume"}, {"music", "music_volume"}, {"ambient", "ambient_volume"}, {"voice", "voice_volume"}};
const int BUFFER_MODES[] = {2, 4, 4, 4};

// Whether another copy of the game runs on the user folder: it holds the folder's lock, which the
// first copy takes and keeps until it ends (so two copies started at the same moment cannot both
// pass), or "hwnd.txt" names its window.
bool anotherInstanceRuns(const String& folder) {
    if (!tulm::holdExclusiveLock(folder + "instance.lock")) {
        return true;
    }
    String handleText;
    if (!zephUtil::readPlayerFile(folder + "hwnd.txt", handleText)) {
        return false;
    }
    // The number on the first line.
    unsigned long handle = std::strtoul(handleText.c_str(), nullptr, 10);
    return zephUtil::windowTitleEquals(handle, getParam("title"));
}

} // namespace

morvec::Vector2 getWindowSize(morvec::Vector2 display, const String& width, const String& height,
                              const String& fullscreen) {
    if (display.x <= 0 || display.y <= 0) {
        display = morvec::Vector2(1920, 1080);
    }
    float w = width.toFloat();
    float h = height.toFloat();
    if (w > 0 && h > 0) {
        return morvec::Vector2(w, h);
    }
    if (fullscreen == "0") {
        return morvec::Vector2(display.x * 2 / 3, display.y * 2 / 3);
    }
    return display;
}

float textMultiplierOf(const String& value) {
    float factor = value.toFloat();
    if (factor > 0) {
        return factor;
    }
    log("WARNING: text_multiplier '" + value + "' is not a number above 0; speech keeps the normal speed");
    return 1.0f;
}

void createWindow() {
    loadConfig();
    nimbo::init(0, 0);
    nimbo::createRenderSystem();
    morvec::Vector2 size = getWindowSize(nimbo::getSystemInfo().displayResolution, getParam("width"),
                                         getParam("height"), getParam("fullscreen"));
    nimbo::createWindow((int)size.x, (int)size.y, getParam("fullscreen").toBool(), getParam("title"));
    String folder = zephUtil::getUserDataPath();
    if (anotherInstanceRuns(folder)) {
        nimbo::messageBox(getParam("title") + ": ERROR!", "Unable to launch game, another instance is already running!",
                          nimbo::MESSAGE_BUTTON_OK, nimbo::MESSAGE_STYLE_PLAIN);
        Game::exitProcess(0);
    }
    // Only a copy that runs touches the files of the user folder: a refused one leaves the running
    // game's log and its writes in progress alone. The lines logged so far go into the log now.
    vessot::Log::setFilename(folder + "game.log", true);
    if (int removed = vessot::removeAtomicWriteLeftovers(folder)) {
        log("removed " + String(removed) + " unfinished temporary files from " + folder);
    }
}

void init() {
    screenWidth = 426;
    screenHeight = 320;
    Vars::loadFromXml("data/vars.xml");
    Vars::get("zeph_target")->setValue(getParam("target"), false);
    Vars::get("zeph_platform")->setValue(getParam("target"), false);
    Vars::get("game_version")->setValue(getParam("version"), false);
    Vars::snapshotInitialValues();
    Variable* items = Vars::get("items");
    items->addListener(Inventory::onItemsChanged);
    items->assign(*items);
    zephUtil::writePlayerFile(zephUtil::getUserDataPath() + "hwnd.txt",
                              String(nimbo::window->getNativeHandle()) + "\n");
    Game::ensureLoadingScreen("");
    Game::drawLoadingScreen(1.0f);
    nimbo::rendersys->presentFrame();
    runel::init();
    nimboui::init();
    bool mute = getParam("audio_mute").toBool();
    echon::init(mute ? "Disabled" : "", nullptr, true, 0.01f, "");
    for (int i = 0; i < 4; ++i) {
        echon::mgr->createCategory(CATEGORIES[i][0], BUFFER_MODES[i], 0);
    }
    applyVolumes();
    vessot::srand(vessot::get_system_tick_count());
    transitions[""] = new Transitions::Immediate();
    transitions["fade"] = new Transitions::Fade();
    transitions["zoom"] = new Transitions::Fade();
    transitions["crossfade"] = new Transitions::Fade();
    params["screenshot"] = "0";
    dummyActionMap = new ActionMap("dummy");
    Chapters::createAll();
    TheoraVideoManager::setLogFunction(nimbovideo::logFunction);
    videoWorkerCount = 1;
}

void applyVolumes() {
    echon::mgr->setGlobalGain(getParam("master_volume").toFloat() / 100);
    for (const auto& category : CATEGORIES) {
        echon::mgr->getCategory(category[0])->setGain(getParam(category[1]).toFloat() / 100);
    }
}

void destroy() {
    for (auto& [name, transition] : transitions) {
        delete transition;
    }
    transitions.clear();
    activeTransition = nullptr;
    runel::destroy();
    nimboui::destroy();
    nimbo::destroy();
    echon::destroy();
    log("ZEPH destroyed");
}

} // namespace Session
