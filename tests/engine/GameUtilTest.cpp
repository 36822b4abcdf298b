// The game utilities: text files with a byte-order mark (or without one), colours, paths, the scene-file filter, the
// tester mode, the window-title test and unloading the story chapters.
#include "GameRun.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"

#include "nimbo/InstanceRecord.h"
#include "nimboui/Exception.h"
#include "vessot/File.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

class GameUtilTest : public ::testing::Test {
protected:
    void SetUp() override {
        vessot::Log::setEcho(false);
        Session::params.clear();
    }
    void TearDown() override {
        vessot::Log::reset();
        vessot::Log::setEcho(true);
    }
};

TEST_F(GameUtilTest, TextFilesCarryAByteOrderMark) {
    TempDir dir;
    GameUtil::writeTextFile("Ann", dir / "username.txt");
    EXPECT_EQ(readWholeFile(dir / "username.txt"), "\xEF\xBB\xBF"
                                                   "Ann");
    EXPECT_EQ(GameUtil::readTextFile(dir / "username.txt"), "Ann");
    GameUtil::writeTextFile("Zoë", dir / "username.txt");
    EXPECT_EQ(GameUtil::readTextFile(dir / "username.txt"), "Zoë");
    EXPECT_EQ(GameUtil::readTextFile(dir / "missing.txt"), "error");
    mkfifo((dir / "pipe.txt").c_str(), 0600);
    EXPECT_EQ(GameUtil::readTextFile(dir / "pipe.txt"), "error"); // refused
    writeWholeFile(dir / "username.txt", "Alexander");
    EXPECT_EQ(GameUtil::readTextFile(dir / "username.txt"), "Alexander");
    // A failed write is logged naming the file, answers false and leaves what was there.
    writeWholeFile(dir / "plain", "x");
    vessot::Log::setFilename(dir / "game.log", true);
    EXPECT_FALSE(GameUtil::writeTextFile("Ann", dir / "plain/username.txt"));
    vessot::Log::reset();
    EXPECT_NE(readWholeFile(dir / "game.log").find("plain/username.txt"), std::string::npos);
    EXPECT_EQ(readWholeFile(dir / "plain"), "x");
}

TEST_F(GameUtilTest, ParseColor) {
    struct Case {
        const char* text;
        int red, green, blue, alpha;
    } cases[] = {
        {"FF7F00", 255, 127, 0, 255},     {"0xFF7F00", 255, 127, 0, 255}, {"80FF7F00", 255, 127, 0, 128},
        {"0x80FF7F00", 255, 127, 0, 128}, {"0xff7f00", 255, 127, 0, 255},
    };
    for (const Case& c : cases) {
        uint8_t red = 1, green = 1, blue = 1, alpha = 1;
        zephUtil::parseColor(c.text, red, green, blue, alpha);
        EXPECT_EQ((int)red, c.red) << c.text;
        EXPECT_EQ((int)green, c.green) << c.text;
        EXPECT_EQ((int)blue, c.blue) << c.text;
        EXPECT_EQ((int)alpha, c.alpha) << c.text;
    }
    for (const char* bad : {"FFF", "0xFFF", "", "0x", "FF7F0", "0x80FF7F0000"}) {
        uint8_t red, green, blue, alpha;
        try {
            zephUtil::parseColor(bad, red, green, blue, alpha);
            FAIL() << bad;
        } catch (const nimboui::_GenericException& e) {
            EXPECT_EQ(e.message(), "Color format must be either 0xAARRGGBB or 0xRRGGBB");
            EXPECT_EQ(e.type(), "GenericException");
        }
    }
}

TEST_F(GameUtilTest, AreaIdsAreHexadecimalWithAnOptionalPrefix) {
    const struct {
        const char* text;
        bool read;
        uint32_t id; // 7: left alone
    } cases[] = {{"00ff00", true, 0x00FF00},
                 {"0xFF0000", true, 0xFF0000},
                 {"0XFF0000", true, 0xFF0000},
                 {"FF7F0080", true, 0xFF7F0080},
                 {"0XFFFFFFFF", true, 0xFFFFFFFF},
                 {"1FF7F0080", false, 7},
                 {"0x", false, 7},
                 {"green", false, 7}};
    for (const auto& c : cases) {
        uint32_t id = 7;
        EXPECT_EQ(zephUtil::parseAreaId(c.text, id), c.read) << c.text;
        EXPECT_EQ(id, c.id) << c.text;
    }
}

TEST_F(GameUtilTest, DirectoryOfAPath) {
    EXPECT_EQ(zephUtil::getDirectory("data/chapters/ship/ship_hd.datadef"), "data/chapters/ship");
    EXPECT_EQ(zephUtil::getDirectory("a\\b\\c.txt"), "a\\b");
    EXPECT_EQ(zephUtil::getDirectory("a\\b/c.txt"), "a\\b");
    EXPECT_EQ(zephUtil::getDirectory("/file"), "");
    EXPECT_EQ(zephUtil::getDirectory("file"), "");
}

TEST_F(GameUtilTest, SceneFilesOfTheMobileInterface) {
    // The interface variant is read on the first call and kept.
    Session::params["ui"] = "mobile";
    EXPECT_FALSE(GameUtil::isSceneFileForPlatform("data/chapters/ship/scenes/room.pc.scene"));
    EXPECT_TRUE(GameUtil::isSceneFileForPlatform("data/chapters/ship/scenes/room.mobile.scene"));
    EXPECT_TRUE(GameUtil::isSceneFileForPlatform("data/chapters/ship/scenes/room.scene"));
    Session::params["ui"] = "pc";
    EXPECT_FALSE(GameUtil::isSceneFileForPlatform("room.pc.scene"));
}

TEST_F(GameUtilTest, TesterModeReadsTheNameFileOnProfileChangesOnly) {
    const TempDir& user = testUserFolder();
    std::filesystem::create_directory(user / "_profile1");
    GameUtil::writeTextFile("q8vmwx", user / "_profile1/username.txt");
    Session::params["profile"] = "_profile1";
    EXPECT_TRUE(GameUtil::isTesterMode());
    // Without a profile switch the file is not read again.
    GameUtil::writeTextFile("Ann", user / "_profile1/username.txt");
    EXPECT_TRUE(GameUtil::isTesterMode());
    // A profile without a name file reads "error".
    Session::params["profile"] = "_profile2";
    EXPECT_FALSE(GameUtil::isTesterMode());
    Session::params["profile"] = "_profile1";
    EXPECT_FALSE(GameUtil::isTesterMode());
    GameUtil::writeTextFile("tobrelunka", user / "_profile1/username.txt");
    Session::params["profile"] = "_profile2";
    GameUtil::isTesterMode();
    Session::params["profile"] = "_profile1";
    EXPECT_TRUE(GameUtil::isTesterMode());
    std::filesystem::remove_all(user / "_profile1");
}

TEST_F(GameUtilTest, WindowTitleComparesAtMost511Characters) {
    std::string title(600, 't');
    title[510] = 'x';
    ASSERT_TRUE(nimbo::recordWindowTitle((int)getpid(), title));
    EXPECT_TRUE(zephUtil::windowTitleEquals(getpid(), title.substr(0, 511)));
    EXPECT_FALSE(zephUtil::windowTitleEquals(getpid(), title));
    EXPECT_FALSE(zephUtil::windowTitleEquals(getpid(), title.substr(0, 510)));
    nimbo::recordWindowTitle((int)getpid(), "Vestrel Vorne");
    EXPECT_TRUE(zephUtil::windowTitleEquals(getpid(), "Vestrel Vorne"));
    EXPECT_FALSE(zephUtil::windowTitleEquals(getpid(), "Vestrel"));
    nimbo::removeWindowTitleRecord((int)getpid());
    // No window, no match, not even for an empty title.
    EXPECT_FALSE(zephUtil::windowTitleEquals(getpid(), ""));
    EXPECT_FALSE(zephUtil::windowTitleEquals(getpid(), "Vestrel Vorne"));
}

TEST_F(GameUtilTest, UnloadAllChaptersSkipsMissingAndUnloadedOnes) {
    TempDir dir;
    vessot::Log::setFilename(dir / "game.log", true);
    // "ship" exists but is not loaded; the other story chapters do not exist at all.
    Chapter ship("data/chapters/ship/ship_hd.datadef", nullptr);
    GameUtil::unloadAllChapters();
    EXPECT_EQ(readWholeFile(dir / "game.log"), "[vorne] unloadAllChapters unloaded: nothing\n");
}
