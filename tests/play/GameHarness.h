#pragma once
// The real game run in-process on the bundled data, headless, for whole-game tests and benchmarks:
// frames, pointer, keys, text and touch at virtual-screen points, the game's variables and
// interface objects, screenshots and the log. One harness per process (the game's state is global).
//
// Scene points are scene coordinates: the virtual screen of 426 x 320 units with the view's
// letterbox, pan and zoom, plus the horizontal offset of wide scenes. Interface points are the
// interface's own 426 x 320 units. Both are converted to window pixels through the game's mapping.

#include "TempDir.h"

#include "morvec/Vector.h"
#include "nimbo/Image.h"
#include "nimbo/InputEvent.h"
#include "vessot/String.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nimboui {
class Object;
}

class GameHarness {
public:
    struct Options {
        int width = 640;
        int height = 480;
        // Further settings (name, value), such as {"ZEPH_INPUT_MODE", "touch"}.
        std::vector<std::pair<std::string, std::string>> environment;
        // The user's "zeph.cfg", written before the start when not empty ("ui: mobile\n").
        std::string userConfig;
        // The user's "lang.cfg" (the language chosen in the language menu), written before the start
        // when not empty.
        std::string language;
        // The first scene, put in the user's "zeph.cfg" over the configured one (the logo); empty
        // starts where the configuration says.
        std::string scene = "ship.Cockpit";
        // A folder whose files are copied into the user folder before the start (a profile, saves).
        std::string userFiles;
        // The random source's seed, set once the game has started, so shuffles repeat.
        unsigned seed = 1;

        // The defaults on the mobile layout.
        static Options mobile() {
            Options options;
            options.userConfig = "ui: mobile\n";
            return options;
        }
    };

    // The game reported a fatal error; the message holds the log's exception line.
    struct FatalError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    GameHarness() : GameHarness(Options()) {}
    // Starts the game: settings, the init callback, the first scene.
    explicit GameHarness(const Options& options);
    // Ends the game through its destroy callback.
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    // Runs frames of the fixed step (1/60 s).
    void step(int frames = 1);
    void stepSeconds(float seconds);
    // Runs frames until the loading picture lets input through (about 1.5 s after a chapter load).
    void passLoadingFade();
    // Runs frames until no scene transition runs.
    void finishTransition();

    morvec::Vector2 sceneToWindow(float x, float y) const;
    morvec::Vector2 guiToWindow(float x, float y) const;

    // Input at scene points. Each is delivered in the next frame, which it runs. A click, press or
    // release at a new point moves the pointer there in the same frame, as a system press does.
    void click(float x, float y);
    void clickGui(float x, float y);
    void press(float x, float y, int button = 1);
    void move(float x, float y);
    void release(float x, float y, int button = 1);
    void key(int code);
    void type(const std::string& utf8);
    // The fingers down from now on, at scene points; none lifts them all.
    void touch(const std::vector<morvec::Vector2>& points);
    // The window's close request.
    void requestQuit();
    // Resizes the window as the player does; the game hears of it in the next frame to run.
    void resize(int width, int height);

    vessot::String var(const vessot::String& name) const;
    void setVar(const vessot::String& name, const vessot::String& value);
    // "active_scene": chapter name, "." and scene name.
    vessot::String activeScene() const { return var("active_scene"); }
    // An object of the "ui" chapter, or null; whether it is visible with an alpha above 0.
    nimboui::Object* uiObject(const vessot::String& name) const;
    // The centre of an object in the units of its root: the interface's for the "ui" chapter's objects,
    // the scene's for a scene's.
    static morvec::Vector2 centreOf(nimboui::Object* object);
    bool isShown(const vessot::String& name) const;

    nimbo::Image screenshot() const;
    void saveScreenshot(const vessot::String& path) const;
    // The game's log so far.
    std::string log() const;
    const std::string& userFolder() const { return userDir.path; }

private:
    void deliver(const nimbo::InputEvent& event, int frames = 1);
    void run(int frames);

    TempDir userDir;
    float frameStep = 1.0f / 60.0f;
    bool failed = false;
};
