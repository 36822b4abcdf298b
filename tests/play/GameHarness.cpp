#include "GameHarness.h"

#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Viewport.h"
#include "ui/Hud.h"

#include "nimbo/Main.h"
#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"
#include "vessot/Log.h"
#include "vessot/System.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Settings of the environment that would change the run; the harness sets its own.
const char* const RUN_SETTINGS[] = {"ZEPH_INPUT",      "ZEPH_FRAMES", "ZEPH_SCREENSHOT", "ZEPH_INPUT_MODE",
                                    "ZEPH_FIXED_STEP", "ZEPH_RAM_MB", "ZEPH_LOCALE",     "ZEPH_WINDOW"};

// The log's last exception report, or its last lines.
std::string failureText(const std::string& log) {
    size_t at = log.rfind("EXCEPTION: ");
    if (at != std::string::npos) {
        return log.substr(at, log.find('\n', at) - at);
    }
    return log.size() > 2000 ? log.substr(log.size() - 2000) : log;
}

} // namespace

GameHarness::GameHarness(const Options& options) {
    for (const char* name : RUN_SETTINGS) {
        unsetenv(name);
    }
    setenv("ZEPH_HEADLESS", "1", 1);
    setenv("ZEPH_USER_DIR", userDir.path.c_str(), 1);
    setenv("ZEPH_LOCALE", "en", 1);
    setenv("ZEPH_WINDOW", (std::to_string(options.width) + "x" + std::to_string(options.height)).c_str(), 1);
    for (const auto& [name, value] : options.environment) {
        setenv(name.c_str(), value.c_str(), 1);
        if (name == "ZEPH_FIXED_STEP") {
            frameStep = std::stof(value);
        }
    }
    if (!options.userFiles.empty()) {
        std::filesystem::copy(options.userFiles, userDir.path, std::filesystem::copy_options::recursive);
    }
    std::string userConfig = (options.scene.empty() ? "" : "scene: " + options.scene + "\n") + options.userConfig;
    if (!userConfig.empty()) {
        std::ofstream(userDir / "zeph.cfg") << userConfig;
    }
    if (!options.language.empty()) {
        std::ofstream(userDir / "lang.cfg") << options.language;
    }
    // Each start chooses its language afresh, as a new process does.
    nimboui::setLocalization("");
    vessot::Log::setEcho(false);
    // A fatal error report ends no process here: it leaves the frame (or the start) as an exception.
    Game::setExitHook([](int code) { throw Game::ExitRequest{code}; });
    static char name[] = "vestrel-vorne";
    char* argv[] = {name, nullptr};
    try {
        nimbo::startMain(Game::initGame, 1, argv);
    } catch (const Game::ExitRequest&) {
        Game::setExitHook(nullptr);
        throw FatalError("the game failed to start: " + failureText(log()));
    }
    vessot::srand(options.seed);
}

GameHarness::~GameHarness() {
    // After a fatal error the game's state is broken; its destroy callback is not trusted with it.
    nimbo::finishMain(failed ? nimbo::DestroyCallback() : nimbo::DestroyCallback(Game::destroyGame));
    Game::setExitHook(nullptr);
    vessot::Log::reset();
    vessot::Log::setEcho(true);
}

void GameHarness::run(int frames) {
    if (failed) {
        throw FatalError("the game ended with a fatal error before");
    }
    try {
        nimbo::runFrames(frames);
    } catch (const Game::ExitRequest&) {
        failed = true;
        throw FatalError("the game reported a fatal error: " + failureText(log()));
    }
}

void GameHarness::step(int frames) {
    run(frames);
}

void GameHarness::stepSeconds(float seconds) {
    run((int)std::ceil(seconds / frameStep - 1e-4f));
}

void GameHarness::passLoadingFade() {
    for (int i = 0; i < 600 && loadingScreenAlpha > 0.4f; ++i) {
        run(1);
    }
}

void GameHarness::finishTransition() {
    for (int i = 0; i < 1200 && Session::activeTransition; ++i) {
        run(1);
    }
}

morvec::Vector2 GameHarness::sceneToWindow(float x, float y) const {
    morvec::Rectangle r = Viewport::getViewportRect(true);
    float w = (float)nimbo::window->getWidth();
    float h = (float)nimbo::window->getHeight();
    return morvec::Vector2((x - cameraOffsetX + r.x) * w / r.w, (y + r.y) * h / r.h);
}

morvec::Vector2 GameHarness::guiToWindow(float x, float y) const {
    float w = (float)nimbo::window->getWidth();
    float h = (float)nimbo::window->getHeight();
    if ((double)(w / h) < 1.3233333335568507) {
        return morvec::Vector2(x * w / 426, y * h / 320);
    }
    float v = w * 320 / h;
    return morvec::Vector2((x + Viewport::getWidescreenOffset()) * w / v, y * h / 320);
}

void GameHarness::deliver(const nimbo::InputEvent& event, int frames) {
    nimbo::window->queueInput(event);
    run(frames);
}

void GameHarness::click(float x, float y) {
    morvec::Vector2 p = sceneToWindow(x, y);
    nimbo::window->queueClick(p.x, p.y);
    run(1);
}

void GameHarness::clickGui(float x, float y) {
    morvec::Vector2 p = guiToWindow(x, y);
    nimbo::window->queueClick(p.x, p.y);
    run(1);
}

void GameHarness::press(float x, float y, int button) {
    morvec::Vector2 p = sceneToWindow(x, y);
    deliver(nimbo::InputEvent::down(p.x, p.y, button));
}

void GameHarness::move(float x, float y) {
    morvec::Vector2 p = sceneToWindow(x, y);
    deliver(nimbo::InputEvent::move(p.x, p.y));
}

void GameHarness::release(float x, float y, int button) {
    morvec::Vector2 p = sceneToWindow(x, y);
    deliver(nimbo::InputEvent::up(p.x, p.y, button));
}

void GameHarness::key(int code) {
    nimbo::window->queueKey(code);
    run(1);
}

void GameHarness::type(const std::string& utf8) {
    deliver(nimbo::InputEvent::typed(utf8));
}

void GameHarness::touch(const std::vector<morvec::Vector2>& points) {
    std::vector<morvec::Vector2> pixels;
    for (const morvec::Vector2& p : points) {
        pixels.push_back(sceneToWindow(p.x, p.y));
    }
    deliver(nimbo::InputEvent::touch(pixels));
}

void GameHarness::requestQuit() {
    deliver(nimbo::InputEvent::quit());
}

void GameHarness::resize(int width, int height) {
    nimbo::window->setSize(width, height);
}

vessot::String GameHarness::var(const vessot::String& name) const {
    return Vars::value(name);
}

void GameHarness::setVar(const vessot::String& name, const vessot::String& value) {
    Vars::get(name)->setValue(value, false);
}

nimboui::Object* GameHarness::uiObject(const vessot::String& name) const {
    return Hud::uiObject(name);
}

morvec::Vector2 GameHarness::centreOf(nimboui::Object* object) {
    morvec::Vector2 centre = object->getPosition() + object->getSize() * 0.5f;
    for (nimboui::Object* parent = object->getParent(); parent; parent = parent->getParent()) {
        centre += parent->getPosition();
    }
    return centre;
}

bool GameHarness::isShown(const vessot::String& name) const {
    return Hud::isUiObjectShown(name);
}

nimbo::Image GameHarness::screenshot() const {
    return nimbo::rendersys->captureScreen();
}

void GameHarness::saveScreenshot(const vessot::String& path) const {
    nimbo::rendersys->saveScreenshot(path);
}

std::string GameHarness::log() const {
    std::ifstream file(vessot::Log::getFilename());
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
