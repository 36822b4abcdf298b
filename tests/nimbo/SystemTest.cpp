#include "Headless.h"
#include "TempDir.h"
#include "nimbo/InstanceRecord.h"
#include "nimbo/Settings.h"
#include "nimbo/SystemInfo.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sanitizer/asan_interface.h>
#include <sys/wait.h>
#include <unistd.h>

// SDL's allocation functions, which nimbo directs to its block store.
extern "C" {
void* SDL_malloc(size_t size);
void* SDL_calloc(size_t count, size_t size);
void SDL_free(void* block);
}

namespace {

// A child process that waits until it is killed.
class Child {
public:
    Child() {
        pid = fork();
        if (pid == 0) {
            pause();
            _exit(0);
        }
    }
    ~Child() { end(); }
    void end() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            ended = pid;
            pid = -1;
        }
    }
    pid_t pid;
    pid_t ended = -1;
};

class InstanceRecord : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", dir.path.c_str(), 1); }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }
    TempDir dir;
};

} // namespace

TEST_F(InstanceRecord, ALiveProcessAnswersItsTitle) {
    Child child;
    ASSERT_TRUE(nimbo::recordWindowTitle(child.pid, "Vestrel Vorne"));
    EXPECT_EQ(nimbo::getWindowTitle(child.pid), "Vestrel Vorne");
    EXPECT_EQ(nimbo::windowTitleRecordPath(child.pid).find(dir.path + "/zeph/"), 0u);
}

TEST_F(InstanceRecord, AnEndedProcessAnswersNothingAndTheNextStartRemovesItsRecord) {
    Child child, alive;
    ASSERT_TRUE(nimbo::recordWindowTitle(child.pid, "Vestrel Vorne"));
    ASSERT_TRUE(nimbo::recordWindowTitle(alive.pid, "Vestrel Vorne"));
    child.end();
    EXPECT_EQ(nimbo::getWindowTitle(child.ended), "");
    ASSERT_TRUE(nimbo::recordWindowTitle(getpid(), "Vestrel Vorne"));
    EXPECT_FALSE(vessot::File::exists(nimbo::windowTitleRecordPath(child.ended)));
    EXPECT_EQ(nimbo::getWindowTitle(alive.pid), "Vestrel Vorne");
    nimbo::removeWindowTitleRecord(getpid());
}

TEST_F(InstanceRecord, AReusedProcessIdAnswersNothing) {
    // The record names the start time of an earlier process with this id.
    Child child;
    ASSERT_TRUE(nimbo::recordWindowTitle(child.pid, "Vestrel Vorne"));
    vessot::String path = nimbo::windowTitleRecordPath(child.pid);
    vessot::String started, title;
    vessot::File::hread(path).split("\n", started, title);
    vessot::writeFileAtomically(path, vessot::String(started.toInt() - 1) + "\n" + title);
    EXPECT_EQ(nimbo::getWindowTitle(child.pid), "");
}

TEST_F(InstanceRecord, NoRecordAnswersNothing) {
    EXPECT_EQ(nimbo::getWindowTitle(getpid()), "");
}

TEST_F(InstanceRecord, TheWindowRecordsItselfUntilItGoes) {
    setenv("ZEPH_HEADLESS", "1", 1);
    nimbo::init();
    nimbo::createWindow(16, 16, false, "Vestrel Vorne");
    EXPECT_EQ(nimbo::window->getNativeHandle(), (unsigned long)getpid());
    EXPECT_EQ(nimbo::getWindowTitle(nimbo::window->getNativeHandle()), "Vestrel Vorne");
    nimbo::destroy();
    EXPECT_EQ(nimbo::getWindowTitle(getpid()), "");
}

#ifdef __SANITIZE_ADDRESS__
// The sanitizer poisons a block given back to the system and holds it back from later requests: a
// block that is not poisoned waits in the store, and one given again came from there.
TEST(SdlMemory, AFreedLargeBlockWaitsForTheNextRequestOfAboutItsSize) {
    setenv("ZEPH_HEADLESS", "1", 1);
    const size_t large = 256 * 1024;
    struct Case {
        size_t freed, asked;
        bool zeroed, reused;
    } cases[] = {{large - 1, large - 1, false, false},
                 {large, large, false, true},
                 {large, large, true, true},
                 {large, large * 7 / 8, false, false},
                 {large, large * 7 / 8, true, false},
                 {large * 5 / 4, large, true, true},
                 {large * 5 / 4 + 16, large, false, false}};
    for (const Case& c : cases) {
        nimbo::init();
        auto* freed = (unsigned char*)SDL_malloc(c.freed);
        std::memset(freed, 0xAB, c.freed);
        SDL_free(freed);
        EXPECT_EQ(__asan_address_is_poisoned(freed) == 0, c.freed >= large) << c.freed;
        auto* given = (unsigned char*)(c.zeroed ? SDL_calloc(c.asked, 1) : SDL_malloc(c.asked));
        EXPECT_EQ(given == freed, c.reused) << c.freed << " for " << c.asked;
        EXPECT_TRUE(!c.zeroed || std::all_of(given, given + c.asked, [](unsigned char b) { return b == 0; }));
        SDL_free(given);
        nimbo::destroy();
    }
}
#endif

TEST(SystemInfo, LocaleIsABareLanguageExceptPortugueseAndChinese) {
    struct Case {
        const char* system;
        const char* expected;
    } cases[] = {
        {"de_DE.UTF-8", "de"},
        {"en_GB", "en"},
        {"fr", "fr"},
        {"pt_BR.UTF-8", "pt-BR"},
        {"pt_PT", "pt-PT"},
        {"pt", "pt"},
        {"zh_TW.UTF-8", "zh-TW"},
        {"zh_CN", "zh-CN"},
        {"ja_JP.eucJP", "ja"},
        {"sr_RS@latin", "sr"},
        {"C", "en"},
        {"POSIX", "en"},
        {"", "en"},
        {"pt-BR", "pt-BR"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nimbo::normaliseLocale(c.system), c.expected) << c.system;
    }
}

TEST(SystemInfo, EnvironmentOverridesLocaleAndMemory) {
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    unsetenv("ZEPH_LOCALE");
    unsetenv("ZEPH_RAM_MB");
    nimbo::SystemInfo system = nimbo::getSystemInfo();
    EXPECT_EQ(system.locale, "de");
    EXPECT_GT(system.ram, 0);
    setenv("ZEPH_LOCALE", "zh_TW", 1);
    setenv("ZEPH_RAM_MB", "499", 1);
    nimbo::SystemInfo set = nimbo::getSystemInfo();
    EXPECT_EQ(set.locale, "zh-TW");
    EXPECT_EQ(set.ram, 499);
    unsetenv("ZEPH_LOCALE");
    unsetenv("ZEPH_RAM_MB");
    unsetenv("LC_ALL");
}

TEST(SystemInfo, DisplayResolutionOnceInitialised) {
    setenv("ZEPH_HEADLESS", "1", 1);
    nimbo::init();
    nimbo::SystemInfo system = nimbo::getSystemInfo();
    EXPECT_GT(system.displayResolution.x, 0);
    EXPECT_GT(system.displayResolution.y, 0);
    nimbo::destroy();
}

TEST(Settings, BadValuesNameTheVariable) {
    struct Case {
        const char* name;
        const char* value;
    } cases[] = {{"ZEPH_FIXED_STEP", "fast"}, {"ZEPH_FIXED_STEP", "-1"},      {"ZEPH_FIXED_STEP", "nan"},
                 {"ZEPH_FIXED_STEP", "inf"},  {"ZEPH_FIXED_STEP", "2"},       {"ZEPH_FRAMES", "0"},
                 {"ZEPH_FRAMES", "2.5"},      {"ZEPH_FRAMES", "99999999999"}, {"ZEPH_WINDOW", "640"},
                 {"ZEPH_WINDOW", "0x480"},    {"ZEPH_WINDOW", "640.5x480"},   {"ZEPH_WINDOW", "99999x480"},
                 {"ZEPH_INPUT_MODE", "pen"},  {"ZEPH_RAM_MB", "lots"},        {"ZEPH_RAM_MB", "-nan"}};
    for (const Case& c : cases) {
        setenv(c.name, c.value, 1);
        try {
            nimbo::Settings::fromEnvironment();
            ADD_FAILURE() << c.name << "=" << c.value;
        } catch (const vessot::exception& e) {
            EXPECT_EQ(e.message().find(c.name), 0u) << e.message();
            EXPECT_NE(e.message().find(c.value), std::string::npos) << e.message();
        }
        unsetenv(c.name);
    }
}

TEST(Settings, HeadlessDefaultsAndValues) {
    setenv("ZEPH_HEADLESS", "1", 1);
    setenv("ZEPH_WINDOW", "640x480", 1);
    setenv("ZEPH_INPUT_MODE", "mouse", 1);
    nimbo::Settings s = nimbo::Settings::fromEnvironment();
    EXPECT_TRUE(s.headless);
    EXPECT_FLOAT_EQ(s.fixedStep, 1.0f / 60.0f);
    EXPECT_EQ(s.frameLimit, -1);
    EXPECT_EQ(s.windowWidth, 640);
    EXPECT_EQ(s.windowHeight, 480);
    EXPECT_EQ(s.inputMode, 2);
    unsetenv("ZEPH_WINDOW");
    unsetenv("ZEPH_INPUT_MODE");
    setenv("ZEPH_HEADLESS", "0", 1);
    EXPECT_FALSE(nimbo::Settings::fromEnvironment().headless);
    EXPECT_EQ(nimbo::Settings::fromEnvironment().fixedStep, 0);
}

TEST(Settings, WindowSizeComesFromTheEnvironment) {
    setenv("ZEPH_HEADLESS", "1", 1);
    setenv("ZEPH_WINDOW", "40x30", 1);
    nimbo::init();
    nimbo::createRenderSystem();
    nimbo::createWindow(800, 600, true, "sized");
    EXPECT_EQ(nimbo::window->getWidth(), 40);
    EXPECT_EQ(nimbo::window->getHeight(), 30);
    EXPECT_FLOAT_EQ(nimbo::window->getAspectRatio(), 40.0f / 30.0f);
    EXPECT_FALSE(nimbo::window->isFullscreen());
    EXPECT_EQ(nimbo::rendersys->captureScreen().getWidth(), 40);
    EXPECT_EQ(nimbo::window->getName(), "SDL");
    unsetenv("ZEPH_WINDOW");
    nimbo::destroy();
}
