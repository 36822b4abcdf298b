#include "GameRun.h"
#include "TempDir.h"
#include "engine/session/Session.h"

#include "vessot/File.h"
#include "vessot/Log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        vessot::Log::reset(); // nothing logged by earlier tests of the process
        vessot::Log::setEcho(false);
        Session::params.clear();
    }
    void TearDown() override { vessot::Log::setEcho(true); }
};

TEST_F(ConfigTest, SectionsCommentsAndEntries) {
    ParamMap map;
    Session::parseConfigText(map, "# comment\r\n"
                                  "width: 800\r\n"
                                  "title: Vestrel Vorne\n"
                                  "nocolon:here\n"
                                  "pair: a: b\n"
                                  "\n"
                                  "[target/tablet]\n"
                                  "width: 1024\n"
                                  "[]\n"
                                  "height: 600\n"
                                  "[cfg]\n"
                                  "audio_mute: 1\n");
    EXPECT_EQ(map, (ParamMap{{"width", "800"},
                             {"title", "Vestrel Vorne"},
                             {"pair", "a: b"},
                             {"target/tablet.width", "1024"},
                             {"height", "600"},
                             {"cfg.audio_mute", "1"}}));
}

TEST_F(ConfigTest, MissingKeyReadsEmptyAndExists) {
    EXPECT_EQ(Session::getParam("nothing"), "");
    EXPECT_TRUE(Session::params.count("nothing"));
}

TEST_F(ConfigTest, SetParamAppliesExactSectionOnly) {
    Session::parseConfigText(Session::params, "width: 800\n"
                                              "[target/tablet]\nwidth: 1024\nui: mobile\n"
                                              "[target/tab]\nwidth: 10\n"
                                              "[text_multiplier/1.5]\nspeed: fast\n");
    Session::setParam("target", "tab");
    EXPECT_EQ(Session::getParam("width"), "10");
    Session::setParam("target", "tablet");
    EXPECT_EQ(Session::getParam("width"), "1024");
    EXPECT_EQ(Session::getParam("ui"), "mobile");
    // A value that only begins the section's value ("1" of "1.5") applies nothing.
    Session::setParam("text_multiplier", "1");
    EXPECT_FALSE(Session::params.count("5"));
    EXPECT_FALSE(Session::params.count("5.speed"));
    EXPECT_EQ(Session::getParam("speed"), "");
    Session::setParam("text_multiplier", "1.5");
    EXPECT_EQ(Session::getParam("speed"), "fast");
    Session::params["width"] = "800";
    Session::setParam("target", "");
    EXPECT_EQ(Session::getParam("width"), "800");
}

TEST_F(ConfigTest, UserConfigWritesTheCfgKeysFromTheGivenMap) {
    TempDir dir;
    Session::params = {{"cfg.audio_mute", "x"}, {"cfg.profile", "x"}, {"audio_mute", "0"}, {"width", "800"}};
    ParamMap user = {{"audio_mute", "1"}, {"width", "1024"}};
    Session::saveUserConfig(user, dir / "zeph.cfg");
    EXPECT_EQ(vessot::File::hread(dir / "zeph.cfg"), "audio_mute: 1\nprofile: \n");
    ParamMap back;
    Session::readConfigFile(back, dir / "zeph.cfg", false);
    EXPECT_EQ(back, (ParamMap{{"audio_mute", "1"}, {"profile", ""}}));
}

// Session::loadConfig over a default file of the test's own and the shared test user folder.
class LoadConfigTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        user = &testUserFolder();
        std::remove((*user / "zeph.cfg").c_str());
        previousRoot = vessot::resourceRoot();
        vessot::setResourceRoot(resources.path);
        std::filesystem::create_directory(resources / "cfg");
    }
    void TearDown() override {
        vessot::setResourceRoot(previousRoot);
        std::remove((*user / "zeph.cfg").c_str());
        vessot::Log::reset();
        ConfigTest::TearDown();
    }
    void defaults(const std::string& text) { writeWholeFile(resources / "cfg/zeph.cfg", text); }

    const TempDir* user = nullptr;
    TempDir resources;
    vessot::String previousRoot;
};

TEST_F(LoadConfigTest, ConditionalSectionsOfTheCurrentValuesApply) {
    defaults("width: 800\ntarget: tablet\ntext_multiplier: 1.5\n"
             "[target/tablet]\nwidth: 1024\n[target/pc]\nwidth: 640\n[ui/mobile]\nheight: 9\n"
             "[text_multiplier/1.5]\nspeed: fast\n"
             "[cfg]\nwidth: 1\n");
    Session::loadConfig();
    EXPECT_EQ(Session::params.at("width"), "1024");
    EXPECT_EQ(Session::params.at("speed"), "fast");
    // The parameter a section names is read with insertion; an empty value applies no section.
    EXPECT_EQ(Session::params.at("ui"), "");
    EXPECT_EQ(Session::params.count("height"), 0u);
}

TEST_F(LoadConfigTest, TwoSectionsSettingOneKeyResolveToTheLastInKeyOrder) {
    defaults("target: tablet\nui: pc\n[ui/pc]\nx: from ui\n[target/tablet]\nx: from target\n");
    Session::loadConfig();
    EXPECT_EQ(Session::params.at("x"), "from ui");
}

TEST_F(LoadConfigTest, FirstStartWritesTheUserFile) {
    defaults("width: 800\nfullscreen: 0\ntitle: T\n[target/tablet]\nwidth: 1\n[cfg]\nwidth: 1\nfullscreen: 1\n"
             "profile: 1\n");
    Session::loadConfig();
    EXPECT_EQ(readWholeFile(*user / "zeph.cfg"), "fullscreen: 0\nprofile: \nwidth: 800\n");
}

TEST_F(LoadConfigTest, UserFileOverridesThePlainValuesAndTheSectionsOfItsValuesApplyOverIt) {
    defaults("width: 800\ntarget: tablet\nfx_volume: 90\n[target/tablet]\nwidth: 1024\n[target/pc]\nheight: 640\n"
             "[cfg]\nwidth: 1\n");
    std::string userText = "width: 300\r\ntarget: pc\nextra: yes\nfx_volume: 101\n";
    writeWholeFile(*user / "zeph.cfg", userText);
    Session::loadConfig();
    EXPECT_EQ(Session::params.at("width"), "300");
    EXPECT_EQ(Session::params.at("target"), "pc");
    EXPECT_EQ(Session::params.at("extra"), "yes");
    EXPECT_EQ(Session::params.at("height"), "640");
    EXPECT_EQ(Session::params.at("fx_volume"), "101") << "read where it is used, not held to the settings' range";
    EXPECT_EQ(readWholeFile(*user / "zeph.cfg"), userText);
}

// A conditional section applies exactly while its parameter has its value: the keys it set return
// to what they were when the parameter changes, and the user's file only ever holds the player's own
// values.
TEST_F(LoadConfigTest, ASectionAppliesOnlyWhileItsParameterHasItsValue) {
    defaults("aspect: 4:3\ntarget: pc\nui: pc\n"
             "[target/tablet]\naspect: screen\nsub.key: x\n[ui/mobile]\naspect: narrow\n"
             "[cfg]\naspect: 1\nsub.key: 1\n");
    Session::loadConfig();
    std::string file = *user / "zeph.cfg";
    struct Step {
        const char* key;
        const char* value;
        const char* aspect;
        const char* subKey;
        const char* saved;
    } steps[] = {
        {"target", "tablet", "screen", "x", "aspect: 4:3\nsub.key: \n"},
        {"ui", "mobile", "narrow", "x", "aspect: 4:3\nsub.key: \n"},
        {"ui", "pc", "screen", "x", "aspect: 4:3\nsub.key: \n"},
        {"target", "pc", "4:3", "", "aspect: 4:3\nsub.key: \n"},
        {"target", "tablet", "screen", "x", "aspect: 4:3\nsub.key: \n"},
        // The player's own choice outlasts the section that it replaced.
        {"aspect", "16:9", "16:9", "x", "aspect: 16:9\nsub.key: \n"},
        {"target", "pc", "16:9", "", "aspect: 16:9\nsub.key: \n"},
    };
    for (const Step& step : steps) {
        Session::setParam(step.key, step.value);
        EXPECT_EQ(Session::getParam("aspect"), step.aspect) << step.key << " " << step.value;
        EXPECT_EQ(Session::getParam("sub.key"), step.subKey) << step.key << " " << step.value;
        EXPECT_TRUE(Session::saveUserConfig(Session::params, file));
        EXPECT_EQ(readWholeFile(file), step.saved) << step.key << " " << step.value;
    }
}

TEST_F(LoadConfigTest, MissingDefaultFileNamesIt) {
    try {
        Session::loadConfig();
        FAIL();
    } catch (const vessot::exception& e) {
        EXPECT_NE(e.message().find("cfg/zeph.cfg"), std::string::npos) << e.message();
    }
}

TEST_F(ConfigTest, SetParamLogsTheParameterAndEachDependency) {
    TempDir dir;
    vessot::Log::setFilename(dir / "game.log", true);
    Session::parseConfigText(Session::params, "[target/tablet]\nwidth: 1024\nui: mobile\n");
    Session::setParam("target", "tablet");
    EXPECT_EQ(readWholeFile(dir / "game.log"), "[zeph] setting param 'target' : tablet\n"
                                               "[zeph] - setting dependancy param 'ui': mobile\n"
                                               "[zeph] - setting dependancy param 'width': 1024\n");
    vessot::Log::reset();
}
