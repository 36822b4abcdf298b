#include "AudioFixture.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

using echon::mgr;

namespace {

constexpr int RATE = echon::AudioManager::SAMPLE_RATE;

float at(const std::vector<float>& samples, double seconds, int channel = 0) {
    return samples[(size_t)(seconds * RATE) * 2 + channel];
}

struct GainCase {
    const char* name;
    int bits;
    int channels;
    int rate;
    float global, category, player;
    float heard; // the level of a sound of level 0.5
};

} // namespace

TEST_F(OfflineAudio, GainIsGlobalTimesCategoryTimesPlayer) {
    const GainCase cases[] = {
        {"unity", 16, 2, 44100, 1.0f, 1.0f, 1.0f, 0.5f},
        {"all three", 16, 2, 44100, 0.8f, 0.5f, 0.5f, 0.1f},
        {"mono to both sides", 16, 1, 44100, 1.0f, 0.25f, 1.0f, 0.125f},
        {"8-bit", 8, 2, 44100, 0.5f, 1.0f, 1.0f, 0.25f},
        {"resampled from 22050", 16, 1, 22050, 1.0f, 1.0f, 0.5f, 0.25f},
        {"resampled from 48000", 16, 2, 48000, 0.5f, 0.5f, 1.0f, 0.125f},
        {"global and category gains above one count as one", 16, 2, 44100, 4.0f, 3.0f, 1.0f, 0.5f},
        {"a category gain below zero is silence", 16, 2, 44100, 1.0f, -1.0f, 1.0f, 0.0f},
        {"a global gain that is not a number is silence", 16, 2, 44100, NAN, 1.0f, 1.0f, 0.0f},
        {"the mix past full scale is held at full scale", 16, 2, 44100, 1.0f, 1.0f, 3.0f, 1.0f},
    };
    for (const GainCase& c : cases) {
        SCOPED_TRACE(c.name);
        echon::Sound* sound = mgr->createSound(flatWav("flat.wav", 0.5f, 1.0, c.rate, c.channels, c.bits), "fx", "");
        mgr->setGlobalGain(c.global);
        mgr->getCategory("fx")->setGain(c.category);
        mgr->play(sound->getName(), 0.0f, false, c.player);
        auto out = mix(0.5);
        EXPECT_NEAR(at(out, 0.0), c.heard, 0.005f);
        EXPECT_NEAR(at(out, 0.3, 1), c.heard, 0.005f);
        mgr->destroySound(sound);
    }
}

TEST_F(OfflineAudio, CategoryGainChangesWhilePlaying) {
    mgr->createSound(flatWav("a.wav", 0.5f), "fx", "");
    mgr->play("a");
    EXPECT_NEAR(at(mix(0.1), 0.05), 0.5f, 0.005f);
    mgr->getCategory("fx")->setGain(0.5f);
    EXPECT_NEAR(at(mix(0.1), 0.05), 0.25f, 0.005f);
}

TEST_F(OfflineAudio, FadeInRisesOverTheFadeTime) {
    mgr->createSound(flatWav("a.wav", 1.0f, 2.0), "fx", "");
    mgr->play("a", 1.0f);
    auto out = mix(1.5);
    EXPECT_NEAR(at(out, 0.25), 0.25f, 0.02f);
    EXPECT_NEAR(at(out, 0.5), 0.5f, 0.02f);
    EXPECT_NEAR(at(out, 1.2), 1.0f, 0.001f);
}

TEST_F(OfflineAudio, FadeOutFallsAndThenTheInstanceEnds) {
    mgr->createSound(flatWav("a.wav", 1.0f, 3.0), "fx", "");
    mgr->play("a");
    mix(0.1);
    mgr->stop("a", 0.5f);
    EXPECT_TRUE(mgr->isAnyPlaying("a"));
    auto out = mix(0.25);
    EXPECT_NEAR(at(out, 0.125), 0.75f, 0.02f);
    EXPECT_TRUE(mgr->isAnyPlaying("a"));
    out = mix(0.3);
    EXPECT_FALSE(mgr->isAnyPlaying("a"));
    EXPECT_EQ(at(out, 0.29), 0.0f);
}

TEST_F(OfflineAudio, LoopingSoundGoesOnAndAPlainOneEnds) {
    for (const char* category : {"fx", "music"}) {
        SCOPED_TRACE(category);
        mgr->createSound(flatWav("short.wav", 0.5f, 0.1), category, "");
        mgr->play("short", 0.0f, true);
        auto out = mix(0.35);
        EXPECT_NEAR(at(out, 0.05), 0.5f, 0.005f);
        EXPECT_NEAR(at(out, 0.25), 0.5f, 0.005f);
        EXPECT_TRUE(mgr->isAnyPlaying("short"));
        mgr->stopAll();
        mgr->play("short");
        out = mix(0.2);
        EXPECT_NEAR(at(out, 0.05), 0.5f, 0.005f);
        EXPECT_EQ(at(out, 0.15), 0.0f);
        EXPECT_FALSE(mgr->isAnyPlaying("short"));
        mgr->destroySoundsWithPrefix("");
    }
}

TEST_F(OfflineAudio, StopByNameStopsEveryInstanceOfThatSoundOnly) {
    mgr->createSound(flatWav("a.wav", 0.25f), "fx", "");
    mgr->createSound(flatWav("b.wav", 0.125f), "fx", "");
    mgr->play("a");
    mgr->play("a");
    mgr->play("b");
    EXPECT_NEAR(at(mix(0.1), 0.05), 0.625f, 0.005f);
    mgr->stop("a");
    EXPECT_FALSE(mgr->isAnyPlaying("a"));
    EXPECT_TRUE(mgr->isAnyPlaying("b"));
    EXPECT_NEAR(at(mix(0.1), 0.05), 0.125f, 0.005f);
}

TEST_F(OfflineAudio, AnInstanceCountsAsPlayingRightAfterPlay) {
    mgr->createSound(flatWav("a.wav", 0.5f), "fx", "");
    mgr->createSound(toneOgg("m.ogg", 0.5), "music", "");
    mgr->play("a");
    mgr->play("m");
    EXPECT_TRUE(mgr->isAnyPlaying("a"));
    EXPECT_TRUE(mgr->isAnyPlaying("m"));
}

TEST_F(OfflineAudio, UnknownNameIsLoggedNotThrown) {
    EXPECT_NO_THROW(mgr->play("ship.nothing"));
    EXPECT_FALSE(mgr->isAnyPlaying("ship.nothing"));
    EXPECT_NE(log().find("Unable to play sound 'ship.nothing': no such sound"), std::string::npos);
    EXPECT_THROW(mgr->createPlayer("ship.nothing"), vessot::exception);
    EXPECT_THROW(mgr->getCategory("nope"), vessot::exception);
    EXPECT_THROW(mgr->createSound(flatWav("a.wav", 0.5f), "nope", ""), vessot::exception);
    EXPECT_THROW(mgr->createCategory("odd", 7, 0), vessot::exception);
}

TEST_F(OfflineAudio, DestroyingSoundsWithPrefixWhilePlaying) {
    std::string file = flatWav("a.wav", 0.25f);
    mgr->createSound(file, "fx", "ship.");
    mgr->createSound(toneOgg("m.ogg", 1.0), "music", "ship.");
    mgr->createSound(file, "fx", "ui.");
    echon::Player* player = mgr->createPlayer("ship.m");
    player->play();
    mgr->play("ship.a", 0.0f, true);
    mgr->play("ui.a", 0.0f, true);
    mix(0.1);
    mgr->destroySoundsWithPrefix("ship.");
    EXPECT_FALSE(mgr->isAnyPlaying("ship.a"));
    EXPECT_THROW(mgr->createPlayer("ship.a"), vessot::exception);
    EXPECT_TRUE(mgr->isAnyPlaying("ui.a"));
    EXPECT_NEAR(at(mix(0.1), 0.05), 0.25f, 0.005f);
}

TEST_F(OfflineAudio, DuplicateNamesGetASuffixAndDestroyFreesExactlyOne) {
    std::string file = flatWav("a.wav", 0.25f);
    echon::Sound* first = mgr->createSound(file, "fx", "ship.");
    echon::Sound* second = mgr->createSound(file, "fx", "ship.");
    echon::Sound* third = mgr->createSound(file, "fx", "ship.");
    EXPECT_EQ(first->getName(), "ship.a");
    EXPECT_EQ(second->getName(), "ship.a#2");
    EXPECT_EQ(third->getName(), "ship.a#3");
    mgr->destroySound(second);
    EXPECT_EQ(mgr->createSound(file, "fx", "ship.")->getName(), "ship.a#2");
    mgr->play("ship.a");
    EXPECT_NEAR(at(mix(0.1), 0.05), 0.25f, 0.005f);
}

TEST_F(OfflineAudio, SoundsFromAFolderJoinTheirCategories) {
    std::filesystem::create_directories(dir / "audio/music");
    std::filesystem::create_directories(dir / "audio/unknown");
    flatWav("audio/click.wav", 0.5f, 0.1);
    toneOgg("audio/music/theme.ogg", 0.2);
    flatWav("audio/unknown/odd.wav", 0.5f, 0.1);
    write("audio/readme.txt", {'h', 'i'});
    auto sounds = mgr->createSoundsFromPath(dir / "audio", "ui.");
    ASSERT_EQ(sounds.size(), 2);
    EXPECT_EQ(sounds[0]->getName(), "ui.click");
    EXPECT_EQ(sounds[0]->getCategory()->getName(), "fx");
    EXPECT_EQ(sounds[1]->getName(), "ui.theme");
    EXPECT_EQ(sounds[1]->getCategory()->getName(), "music");
    EXPECT_NE(log().find("names no audio category 'unknown'"), std::string::npos);
    EXPECT_TRUE(mgr->createSoundsFromPath(dir / "missing", "x.").empty());
}

TEST_F(OfflineAudio, SuspendTwiceResumeOnce) {
    mgr->createSound(flatWav("a.wav", 0.5f, 1.0), "fx", "");
    echon::Player* player = mgr->createPlayer("a");
    player->play();
    mix(0.1);
    mgr->suspendAudio();
    mgr->suspendAudio();
    EXPECT_TRUE(mgr->isSuspended());
    EXPECT_EQ(peak(mix(0.2)), 0.0f);
    EXPECT_NEAR(player->getTimePosition(), 0.1f, 0.01f);
    mgr->resumeAudio();
    EXPECT_FALSE(mgr->isSuspended());
    EXPECT_NEAR(at(mix(0.1), 0.05), 0.5f, 0.005f);
    EXPECT_NEAR(player->getTimePosition(), 0.2f, 0.01f);
}

TEST_F(OfflineAudio, PlayerPositionFollowsPlayPauseAndStop) {
    for (const char* category : {"fx", "music", "video"}) {
        SCOPED_TRACE(category);
        mgr->createSound(toneOgg("t.ogg", 2.0, 22050, 1), category, "");
        echon::Player* player = mgr->createPlayer("t");
        EXPECT_EQ(player->getTimePosition(), 0.0f);
        player->play();
        mix(0.5);
        EXPECT_NEAR(player->getTimePosition(), 0.5f, 0.01f);
        player->pause();
        EXPECT_TRUE(player->isPaused());
        EXPECT_FALSE(player->isPlaying());
        mix(0.3);
        EXPECT_NEAR(player->getTimePosition(), 0.5f, 0.01f);
        player->play();
        mix(0.25);
        EXPECT_NEAR(player->getTimePosition(), 0.75f, 0.01f);
        player->stop();
        EXPECT_FALSE(player->isPlaying());
        EXPECT_EQ(player->getTimePosition(), 0.0f);
        mgr->destroyPlayer(player);
        mgr->destroySoundsWithPrefix("");
    }
}

TEST_F(OfflineAudio, StreamedVorbisLoopsAcrossTheEndOfTheFile) {
    mgr->createSound(toneOgg("m.ogg", 0.3), "music", "");
    echon::Player* player = mgr->createPlayer("m");
    player->play(0.0f, true);
    auto out = mix(1.0);
    EXPECT_GT(peak(std::vector<float>(out.end() - 4000, out.end())), 0.3f);
    EXPECT_TRUE(player->isPlaying());
    EXPECT_NEAR(player->getTimePosition(), 0.1f, 0.01f);
}

TEST_F(OfflineAudio, OnDemandSoundsReloadAfterClearMemory) {
    mgr->createSound(flatWav("v.wav", 0.5f, 0.1), "video", "");
    mgr->play("v");
    EXPECT_NEAR(at(mix(0.2), 0.05), 0.5f, 0.005f);
    mgr->clearMemory();
    mgr->play("v");
    EXPECT_NEAR(at(mix(0.2), 0.05), 0.5f, 0.005f);
}

TEST_F(OfflineAudio, BrokenFilesAreLoggedAndStaySilent) {
    std::vector<float> flat(44100 * 2, 0.5f);
    mediagen::Bytes wav = mediagen::wav(flat, 44100, 2, 16);
    mediagen::Bytes ogg = mediagen::vorbis(mediagen::tone(0.5, 44100, 2, 440.0, 0.5f), 44100, 2);
    struct Case {
        const char* file;
        mediagen::Bytes bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"missing.wav", {}, "File not found"},
        {"cut.wav", mediagen::Bytes(wav.begin(), wav.begin() + 1000), "truncated"},
        {"text.ogg", {'n', 'o', 't', ' ', 'o', 'g', 'g'}, "neither a WAV nor an Ogg Vorbis file"},
        {"cut.ogg", mediagen::Bytes(ogg.begin(), ogg.begin() + 200), "damaged or truncated Ogg Vorbis headers"},
    };
    for (const char* category : {"fx", "music"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(category) + " " + c.file);
            std::string path = c.bytes.empty() ? dir / c.file : write(c.file, c.bytes);
            echon::Sound* sound = mgr->createSound(path, category, "");
            mgr->play(sound->getName());
            EXPECT_EQ(peak(mix(0.1)), 0.0f);
            EXPECT_FALSE(mgr->isAnyPlaying(sound->getName()));
            std::string text = log();
            EXPECT_NE(text.find("sound '" + sound->getName() + "' from '" + path + "'"), std::string::npos) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
            mgr->destroySound(sound);
        }
    }
}

TEST(DisabledAudio, ReturnsRealSilentObjects) {
    echon::init("Disabled");
    ASSERT_NE(mgr, nullptr);
    EXPECT_EQ(mgr->getName(), "Disabled");
    echon::Category* fx = mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
    EXPECT_EQ(mgr->getCategory("fx"), fx);
    fx->setGain(0.5f);
    mgr->setGlobalGain(0.5f);
    echon::Sound* sound = mgr->createSound("nowhere/click.ogg", "fx", "ui.");
    ASSERT_NE(sound, nullptr);
    echon::Player* player = mgr->createPlayer("ui.click");
    ASSERT_NE(player, nullptr);
    player->play(0.5f, true);
    mgr->play("ui.click");
    EXPECT_FALSE(player->isPlaying());
    EXPECT_FALSE(mgr->isAnyPlaying("ui.click"));
    EXPECT_EQ(player->getTimePosition(), 0.0f);
    mgr->update(0.1f);
    mgr->suspendAudio();
    mgr->resumeAudio();
    mgr->clearMemory();
    mgr->stopAll(1.0f);
    mgr->destroyPlayer(player);
    mgr->destroySound(sound);
    echon::destroy();
    EXPECT_EQ(mgr, nullptr);
}

TEST(HeadlessDevice, PlayerPositionAdvancesOnTheDummyDevice) {
    setenv("ZEPH_HEADLESS", "1", 1);
    TempDir dir;
    std::vector<float> flat(44100 * 2 * 2, 0.25f);
    mediagen::writeFile(dir / "a.wav", mediagen::wav(flat, 44100, 2, 16));
    echon::init("", nullptr, true, 0.01f, "");
    ASSERT_EQ(mgr->getName(), "SDL");
    mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
    mgr->createSound(dir / "a.wav", "fx", "");
    echon::Player* player = mgr->createPlayer("a");
    player->play();
    // Wait for the device to take samples; the deadline only guards against a hang.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (player->getTimePosition() < 0.05f && std::chrono::steady_clock::now() < deadline) {
        mgr->update(0.01f);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(player->getTimePosition(), 0.05f);
    EXPECT_TRUE(player->isPlaying());
    mgr->suspendAudio();
    mgr->resumeAudio();
    echon::destroy();
}

TEST(NoDevice, InitLogsAndRunsSilent) {
    TempDir dir;
    vessot::Log::reset();
    vessot::Log::setEcho(false);
    vessot::Log::setFilename(dir / "game.log", true);
    unsetenv("ZEPH_HEADLESS");
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    echon::init("", nullptr, true, 0.01f, "");
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(mgr->getName(), "Disabled");
    mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
    EXPECT_NE(mgr->createSound("x.ogg", "fx", ""), nullptr);
    echon::destroy();
    EXPECT_NE(vessot::File::hread(dir / "game.log").find("No sound device"), std::string::npos);
    vessot::Log::reset();
    vessot::Log::setEcho(true);
}
