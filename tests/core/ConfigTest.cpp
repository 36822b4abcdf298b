#include "Session.h"
#include "TempDir.h"

#include "vessot/File.h"
#include "vessot/Log.h"

#include <gtest/gtest.h>

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
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
