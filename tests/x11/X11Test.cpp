// The game in a real window: the test build's game on SDL's X11 driver in a virtual display (Xvfb)
// under a window manager (evilwm), driven by synthetic X events (xdotool) from the logo through the
// first profile's name, the main menu, the mode choice and the intro into the cockpit. The display's
// own framebuffer must show the scene, a wide window its letterbox, and the window manager's close
// request answered "yes" must end the game with exit code 0. Skipped when a program is missing.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The longest wait for one step of the run. A sanitized game takes a few seconds for a step on an idle
// machine and several times as long on a busy one; every wait ends as soon as its step is done.
constexpr auto STEP_TIMEOUT = 300s;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string findProgram(const std::string& name) {
    std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
    for (std::string folder; std::getline(path, folder, ':');) {
        std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds poll = 100ms,
               std::chrono::milliseconds timeout = STEP_TIMEOUT) {
    for (Clock::time_point end = Clock::now() + timeout; Clock::now() < end;) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(poll);
    }
    return done();
}

// A child process with the environment of this one, the settings given set over it; its output
// goes to a file. Ended (TERM, then KILL) when it is still running at the end.
class Process {
public:
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& settings, const std::string& output,
            const std::string& folder = "", int keepFd = -1) {
        std::vector<std::string> environment;
        for (char** e = environ; *e; ++e) {
            std::string entry = *e;
            bool replaced = entry.rfind("ZEPH_", 0) == 0;
            for (const std::string& setting : settings) {
                replaced = replaced || entry.rfind(setting.substr(0, setting.find('=') + 1), 0) == 0;
            }
            if (!replaced) {
                environment.push_back(entry);
            }
        }
        environment.insert(environment.end(), settings.begin(), settings.end());
        pid = fork();
        if (pid == 0) {
            int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            for (int fd = 3; fd < 256; ++fd) {
                if (fd != keepFd) {
                    close(fd);
                }
            }
            if (!folder.empty() && chdir(folder.c_str()) != 0) {
                _exit(126);
            }
            std::vector<char*> args;
            for (const std::string& a : argv) {
                args.push_back(const_cast<char*>(a.c_str()));
            }
            args.push_back(nullptr);
            std::vector<char*> env;
            for (const std::string& e : environment) {
                env.push_back(const_cast<char*>(e.c_str()));
            }
            env.push_back(nullptr);
            execve(args[0], args.data(), env.data());
            _exit(127);
        }
    }
    ~Process() {
        if (running()) {
            kill(pid, SIGTERM);
            if (!waitForExit(3s)) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool running() {
        if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
        }
        return pid > 0;
    }
    bool waitForExit(std::chrono::milliseconds timeout) {
        for (Clock::time_point end = Clock::now() + timeout; running() && Clock::now() < end;) {
            std::this_thread::sleep_for(50ms);
        }
        return !running();
    }
    // The exit code, or 128 + the signal that ended it.
    int exitCode() const { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }
    // The CPU time it has taken so far, user and system, in seconds (0 once it has ended).
    double cpuSeconds() const {
        std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
        size_t name = stat.rfind(')');
        if (pid <= 0 || name == std::string::npos) {
            return 0;
        }
        // From field 3 (the state) on; fields 14 and 15 are the user and system time in ticks.
        std::stringstream rest(stat.substr(name + 1));
        std::vector<std::string> f{std::istream_iterator<std::string>(rest), {}};
        return f.size() > 12 ? (std::stod(f[11]) + std::stod(f[12])) / (double)sysconf(_SC_CLK_TCK) : 0;
    }

private:
    pid_t pid = -1;
    int status = 0;
};

// Runs a program to its end and answers what it printed.
std::string capture(const std::vector<std::string>& argv, const std::string& scratch) {
    Process(argv, {}, scratch).waitForExit(STEP_TIMEOUT);
    return readFile(scratch);
}

// The screen as Xvfb keeps it in its framebuffer file (XWD format: a header of big-endian 32-bit
// fields, a colour map, then the rows of 32-bit pixels).
struct Screen {
    int width = 0;
    int height = 0;
    int stride = 0;
    bool bigEndian = false;
    std::string bytes;
    size_t offset = 0;

    static Screen read(const std::string& path) {
        Screen s;
        s.bytes = readFile(path);
        auto field = [&](int i) {
            const auto* b = (const unsigned char*)s.bytes.data() + i * 4;
            return (uint32_t)b[0] << 24 | (uint32_t)b[1] << 16 | (uint32_t)b[2] << 8 | b[3];
        };
        if (s.bytes.size() < 100 || field(11) != 32) {
            return s;
        }
        s.width = (int)field(4);
        s.height = (int)field(5);
        s.bigEndian = field(7) == 1;
        s.stride = (int)field(12);
        s.offset = field(0) + field(19) * 12;
        if (s.bytes.size() < s.offset + (size_t)s.stride * (size_t)s.height) {
            s.width = s.height = 0;
        }
        return s;
    }
    bool holds(int x, int y, int w, int h) const {
        return w > 0 && h > 0 && x >= 0 && y >= 0 && x + w <= width && y + h <= height;
    }
    // The brightest of the pixel's red, green and blue.
    int brightness(int x, int y) const {
        const auto* p = (const unsigned char*)bytes.data() + offset + (size_t)y * stride + (size_t)x * 4;
        return bigEndian ? std::max({p[1], p[2], p[3]}) : std::max({p[0], p[1], p[2]});
    }
    int channel(int x, int y, int c) const {
        const auto* p = (const unsigned char*)bytes.data() + offset + (size_t)y * stride + (size_t)x * 4;
        return bigEndian ? p[3 - c] : p[c];
    }
};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Whether the window shows a drawn scene: mostly not black, with sharp edges, which the loading
// picture (a smooth gradient) and a black frame lack.
bool showsScene(const Screen& s, const Rect& r, std::string& why) {
    if (!s.holds(r.x, r.y, r.w, r.h)) {
        why = "the window is not on the screen";
        return false;
    }
    long lit = 0, edges = 0, pixels = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x, ++pixels) {
            lit += s.brightness(x, y) > 24;
            for (int c = 0; c < 3 && x > r.x; ++c) {
                if (std::abs(s.channel(x, y, c) - s.channel(x - 1, y, c)) > 24) {
                    ++edges;
                    break;
                }
            }
        }
    }
    why = std::to_string(100 * lit / std::max(pixels, 1L)) + " % lit, " + std::to_string(edges) + " edges";
    return lit * 2 > pixels && edges * 2000 > pixels;
}

// The columns of the window that show the picture: in its middle rows, the picture's columns are
// at least half lit and the bars of the letterbox black but for the interface's small marks (a
// tutorial arrow at the window's edge) on at most a quarter of a column. False when a column is
// neither, or the picture's columns are not one run.
bool findPicture(const Screen& s, const Rect& r, int& first, int& last) {
    first = last = -1;
    if (!s.holds(r.x, r.y, r.w, r.h)) {
        return false;
    }
    std::vector<int> lit(r.w);
    int rows = r.h * 8 / 10;
    for (int x = 0; x < r.w; ++x) {
        for (int y = r.h / 10; y < r.h / 10 + rows; ++y) {
            lit[x] += s.brightness(r.x + x, r.y + y) > 16;
        }
        if (lit[x] * 2 > rows) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    for (int x = 0; x < r.w; ++x) {
        bool inPicture = x >= first && x <= last;
        if (first < 0 || (inPicture ? lit[x] * 2 <= rows : lit[x] * 4 > rows)) {
            return false;
        }
    }
    return true;
}

// The game, a virtual display and its window manager, and the game's user folder.
class WindowedGame {
public:
    explicit WindowedGame(const TempDir& dir) : dir(dir) {
        std::filesystem::create_directories(dir / "fb");
        std::filesystem::create_directories(dir / "user");
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        // Xvfb picks a free display and writes its number to the pipe once it takes clients.
        xvfb = std::make_unique<Process>(std::vector<std::string>{findProgram("Xvfb"), "-displayfd",
                                                                  std::to_string(fds[1]), "-screen", "0", "1280x960x24",
                                                                  "-fbdir", dir / "fb", "-nolisten", "tcp"},
                                         std::vector<std::string>{}, dir / "xvfb.txt", "", fds[1]);
        close(fds[1]);
        std::string number;
        pollfd readable{fds[0], POLLIN, 0};
        char c;
        int pollMs = (int)std::chrono::milliseconds(STEP_TIMEOUT).count();
        while (poll(&readable, 1, pollMs) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(fds[0]);
        if (number.empty()) {
            return;
        }
        display = "DISPLAY=:" + number;
        setenv("DISPLAY", (":" + number).c_str(), 1);
        wm = std::make_unique<Process>(std::vector<std::string>{findProgram("evilwm"), "-fn", "fixed"},
                                       std::vector<std::string>{}, dir / "wm.txt");
        // SDL asks at start whether a window manager runs; a game that starts before evilwm has taken
        // the display forces the focus onto its window, and that fails (and ends the game) once evilwm
        // reparents the window. The current desktop answers only once evilwm is up.
        waitUntil([&] {
            std::stringstream desktop(xdotool({"get_desktop"}));
            int number;
            return static_cast<bool>(desktop >> number);
        });
        // The system libraries SDL loads for X11 (D-Bus, the display drivers) leave allocations behind
        // at exit; the game's own leaks are the headless tests' concern.
        process = std::make_unique<Process>(
            std::vector<std::string>{GAME_BINARY},
            std::vector<std::string>{display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                                     "ASAN_OPTIONS=detect_leaks=0", "ZEPH_USER_DIR=" + (dir / "user"),
                                     "ZEPH_WINDOW=800x600", "ZEPH_LOCALE=en"},
            dir / "game.txt", SOURCE_DIR);
    }

    bool started() const { return process != nullptr; }
    std::string log() const { return readFile(dir / "user/game.log"); }
    bool logHas(const std::string& text) const { return log().find(text) != std::string::npos; }
    bool inScene(const std::string& scene) const { return logHas("$active_scene: '" + scene + "'"); }
    // What the game printed, for failure messages.
    std::string output() const {
        std::string text = readFile(dir / "game.txt");
        return text.size() > 3000 ? text.substr(text.size() - 3000) : text;
    }

    std::string xdotool(const std::vector<std::string>& args) const {
        std::vector<std::string> argv{findProgram("xdotool")};
        argv.insert(argv.end(), args.begin(), args.end());
        return capture(argv, dir / "xdotool.txt");
    }

    bool findWindow() {
        return waitUntil(
            [&] {
                std::stringstream found(xdotool({"search", "--name", "^Vestrel Vorne$"}));
                return static_cast<bool>(found >> window);
            },
            250ms);
    }

    // The window's place on the screen and its size, as the X server reports them.
    Rect geometry() const {
        std::string text = xdotool({"getwindowgeometry", window});
        Rect r;
        size_t at = text.find("Position: ");
        size_t size = text.find("Geometry: ");
        if (at != std::string::npos && size != std::string::npos) {
            std::sscanf(text.c_str() + at, "Position: %d,%d", &r.x, &r.y);
            std::sscanf(text.c_str() + size, "Geometry: %dx%d", &r.w, &r.h);
        }
        return r;
    }

    // A point of the interface's 426 x 320 units in window pixels, as the game maps them: a window
    // wider than 4:3 shows the units at full height, centred.
    static std::pair<int, int> guiToWindow(float x, float y, const Rect& r) {
        float w = (float)r.w, h = (float)r.h;
        if (w / h < 1.3233333f) {
            return {(int)(x * w / 426), (int)(y * h / 320)};
        }
        float offset = (w / h - 4.0f / 3.0f) * 320 * 0.5f;
        return {(int)((x + offset) * h / 320), (int)(y * h / 320)};
    }

    void click(float guiX, float guiY) const {
        auto [x, y] = guiToWindow(guiX, guiY, geometry());
        xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
    }

    // Clicks at the point until the game logs the text (input waits for fades and loading); with a
    // choice, clicks that first each time, as it is lost as well while the screen fades in.
    bool clickUntil(float guiX, float guiY, const std::string& text, const float* choice = nullptr) const {
        return waitUntil(
            [&] {
                if (logHas(text)) {
                    return true;
                }
                if (choice) {
                    click(choice[0], choice[1]);
                }
                click(guiX, guiY);
                return false;
            },
            700ms);
    }

    Screen screen() const { return Screen::read(dir / "fb/Xvfb_screen0"); }

    const TempDir& dir;
    std::string display;
    std::string window;
    std::unique_ptr<Process> xvfb;
    std::unique_ptr<Process> wm;
    std::unique_ptr<Process> process;
};

// Interface points (426 x 320 units) of the front end and of the quit question.
constexpr float CENTRE[] = {213, 160};
constexpr float NEW_GAME[] = {213, 79};
constexpr float RELAXED[] = {338, 126};
constexpr float START[] = {213, 296};
constexpr float YES[] = {148, 196};

// Prints what the game costs with no input, once its screen has settled: its share of one core over
// a few seconds (the machine's load and the sanitizers move it too much for a bound).
void idleShare(WindowedGame& game, const char* where) {
    std::this_thread::sleep_for(1s);
    double cpu = game.process->cpuSeconds();
    Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(3s);
    double share = (game.process->cpuSeconds() - cpu) / std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("idle share of one core %s: %.1f %%\n", where, 100 * share);
}

TEST(X11Test, PlaysIntoTheStoryInAWindowShowsTheLetterboxAndQuitsThroughTheWindowManager) {
    for (const char* program : {"Xvfb", "xdotool", "evilwm"}) {
        if (findProgram(program).empty()) {
            GTEST_SKIP() << program << " is not installed (scripts/install-deps installs it)";
        }
    }
    TempDir dir;
    WindowedGame game(dir);
    ASSERT_TRUE(game.started()) << "Xvfb did not start: " << readFile(dir / "xvfb.txt");
    ASSERT_TRUE(game.findWindow()) << game.output();
    ASSERT_TRUE(waitUntil([&] { return game.inScene("menu.Logo"); })) << game.output();

    // The logo ends at a click; the first start asks for a name, which Enter confirms.
    ASSERT_TRUE(game.clickUntil(CENTRE[0], CENTRE[1], "$active_scene: 'menu.FirstTimeProfile'")) << game.output();
    ASSERT_TRUE(waitUntil(
        [&] {
            game.xdotool({"type", "--delay", "30", "Vorne"});
            game.xdotool({"key", "Return"});
            return waitUntil([&] { return game.inScene("menu.MainMenu"); }, 200ms, 2s);
        },
        0ms))
        << game.output();
    ASSERT_TRUE(game.clickUntil(NEW_GAME[0], NEW_GAME[1], "$active_scene: 'menu.ModeMenu'")) << game.output();
    idleShare(game, "in the mode menu, nothing moving");
    ASSERT_TRUE(game.clickUntil(START[0], START[1], "$active_scene: 'intro.Intro01'", RELAXED)) << game.output();
    EXPECT_TRUE(game.logHas("$casual_mode: '1'"));
    ASSERT_TRUE(game.clickUntil(CENTRE[0], CENTRE[1], "$active_scene: 'ship.Cockpit'")) << game.output();

    // The framebuffer shows the cockpit, once its fade from black is over.
    std::string why;
    EXPECT_TRUE(waitUntil([&] { return showsScene(game.screen(), game.geometry(), why); })) << why;

    idleShare(game, "in the cockpit, the tutorial's arrow moving");

    // A window of 5:2 shows the 4:3 scene in its middle, 426 of 800 units, between black bars.
    game.xdotool({"windowsize", game.window, "1000", "400"});
    int first = -1, last = -1;
    EXPECT_TRUE(waitUntil([&] {
        Rect r = game.geometry();
        game.xdotool({"mousemove", "--window", game.window, "500", "200"});
        return r.w == 1000 && r.h == 400 && findPicture(game.screen(), r, first, last) && std::abs(first - 234) <= 3 &&
               std::abs(last - 766) <= 3;
    })) << "the picture spans columns "
        << first << " to " << last << " of the window";

    // The window manager's close request (its key Control+Alt+Escape sends WM_DELETE_WINDOW to the
    // window under the pointer) asks the quit question; "yes" ends the game.
    ASSERT_TRUE(waitUntil(
        [&] {
            game.xdotool({"mousemove", "--window", game.window, "500", "200"});
            game.xdotool({"key", "ctrl+alt+Escape"});
            return waitUntil([&] { return game.logHas("QUIT_GAME_DIALOG,"); }, 200ms, 3s);
        },
        0ms))
        << game.output();
    ASSERT_TRUE(waitUntil(
        [&] {
            if (!game.process->running()) {
                return true;
            }
            game.click(YES[0], YES[1]);
            return game.process->waitForExit(1500ms);
        },
        200ms))
        << game.output();
    EXPECT_EQ(0, game.process->exitCode()) << game.output();
}

} // namespace
