// Video objects: the audio-video clock, clips played in a scene with their frames and end events,
// and files that cannot be played.
#include "SceneObjectFixture.h"

#include "engine/objects/AudioVideoTimer.h"
#include "engine/objects/VideoObject.h"

#include "reelix/TheoraVideoClip.h"
#include "reelix/TheoraVideoManager.h"
#include "vessot/System.h"

#include <algorithm>
#include <set>

namespace {

// The longest wait for the decoding worker at a step; a wait ends as soon as the frames are there.
constexpr float WORKER_WAIT = 30.0f;

class VideoObjects : public SceneObjectFixture {
protected:
    void TearDown() override {
        vessot::setTickSource({});
        SceneObjectFixture::TearDown();
    }

    // A clip of 12 frames at 25 fps in the chapter's "video" folder.
    void clip(const std::string& name, bool alpha = false) {
        mediagen::ClipSettings settings;
        settings.width = 32;
        settings.height = 16;
        settings.alpha = alpha;
        std::filesystem::create_directories(dir / "chapters/test/video");
        mediagen::writeFile(dir / ("chapters/test/video/" + name), mediagen::theoraClip(settings));
    }

    // Draws and updates the scene in steps of 0.04 s until the object ended the given number of
    // times (or 10 s of clip time passed), letting the decoding worker keep up; answers the frame
    // numbers shown, one per step.
    std::vector<int> play(nimbovideo::VideoObject* video, int ends, int& endings) {
        endings = 0;
        video->registerEvent("PlaybackDone", [&](nimboui::EventArgs*) { ++endings; });
        std::vector<int> shown;
        for (int step = 0; step < 250 && endings < ends; ++step) {
            Session::activeScene->draw();
            Session::activeScene->update(0.04f);
            shown.push_back(video->getFrameNumber());
            if (video->getClip()) {
                video->getClip()->waitForCache(0.5f, WORKER_WAIT);
            }
        }
        return shown;
    }
};

} // namespace

// A recorded player position (mixed by the offline audio system) and a recorded tick count.
TEST_F(VideoObjects, TheAudioClockFollowsThePlayerAndGlidesOverJumps) {
    std::string path = dir / "tone.wav";
    mediagen::writeFile(path, mediagen::wav(mediagen::tone(4.0, 44100, 2, 440, 0.5f), 44100, 2, 16));
    echon::Player* player = echon::mgr->createPlayer(echon::mgr->createSound(path, "fx", "")->getName());
    uint32_t ticks = 1000;
    vessot::setTickSource([&] { return ticks; });
    nimbovideo::AudioVideoTimer timer(player, 0.5f);
    player->play();
    std::vector<float> out;
    auto mix = [&](double seconds) {
        out.resize((size_t)(seconds * 44100) * 2);
        echon::mgr->mix(out.data(), (int)(out.size() / 2));
    };
    timer.update(0.0f); // the first position always counts as a jump: nothing to catch up yet
    EXPECT_FLOAT_EQ(timer.getTime(), -0.5f);
    mix(0.05);
    ticks += 50;
    timer.update(1.0f); // the frame's step is not used
    float p1 = player->getTimePosition();
    EXPECT_GT(p1, 0.0f);
    EXPECT_FLOAT_EQ(timer.getTime(), p1 - 0.5f);
    ticks += 50; // the position stands still between mixes: the ticks carry the clock
    timer.update(0.0f);
    EXPECT_FLOAT_EQ(timer.getTime(), p1 + 0.05f - 0.5f);
    mix(1.0); // a jump: caught up a tenth per 0.1 s of ticks
    ticks += 100;
    timer.update(0.0f);
    float correction = player->getTimePosition() - (p1 + 0.05f);
    EXPECT_NEAR(timer.getTime(), p1 + 0.05f + 0.1f * correction - 0.5f, 1e-5);
    ticks += 5000; // a long pause counts 0.1 s
    timer.update(0.0f);
    EXPECT_NEAR(timer.getTime(), p1 + 0.15f + 0.2f * correction - 0.5f, 1e-5);
    // A seek stops the sound; the clock goes on from the time sought with the ticks.
    timer.seek(3.0f);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_FLOAT_EQ(timer.getTime(), 3.0f);
    timer.update(0.0f);
    ticks += 100;
    timer.update(0.0f);
    EXPECT_FLOAT_EQ(timer.getTime(), 3.1f);
    vessot::setTickSource({});

    // With the audio library "Disabled" the frame's steps drive the clock.
    echon::destroy();
    echon::init("Disabled");
    echon::mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
    player = echon::mgr->createPlayer(echon::mgr->createSound(path, "fx", "")->getName());
    nimbovideo::AudioVideoTimer free(player, 0.25f);
    free.update(0.5f);
    free.update(0.25f);
    EXPECT_FLOAT_EQ(free.getTime(), 0.5f);
    free.pause();
    EXPECT_TRUE(free.isPaused());
    free.seek(2.0f);
    EXPECT_FLOAT_EQ(free.getTime(), 2.0f);
    free.update(0.5f);
    EXPECT_FLOAT_EQ(free.getTime(), 2.25f);
}

TEST_F(VideoObjects, AClipPlaysItsFramesAndEndsOnce) {
    clip("intro.ogv");
    room(R"(<Object type="VideoObject" name="intro" x="0" y="0" w="426" h="320" video="intro"/>)");
    auto* video = object<nimbovideo::VideoObject>("intro");
    int endings = 0;
    std::vector<int> shown = play(video, 1, endings);
    EXPECT_EQ(endings, 1);
    // Decoding runs on a worker: frames may be skipped, but they only go forward, to the last.
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_GE(std::set<int>(shown.begin(), shown.end()).size(), 4u);
    EXPECT_EQ(shown.back(), 11);
    play(video, 1, endings);
    EXPECT_EQ(endings, 0);                                         // once only
    EXPECT_NE(drawnAt(200, 160), nimbo::Color(200, 100, 50, 255)); // the last frame covers the room
}

TEST_F(VideoObjects, ALoopingClipEndsAtEachRestartButNotAfterASeek) {
    clip("loop.ogv", true);
    room(R"(<Object type="VideoObject" name="loop" x="0" y="0" w="426" h="320" video="loop.ogv" video_alpha="1"
                    loop="1" blend_mode="alpha"/>)");
    auto* video = object<nimbovideo::VideoObject>("loop");
    int endings = 0;
    std::vector<int> shown = play(video, 2, endings);
    EXPECT_EQ(endings, 2);
    EXPECT_FALSE(std::is_sorted(shown.begin(), shown.end()));
    // The alpha picture: the clip's left half is opaque, its right half lets the room show through.
    nimbo::Color left = drawnAt(100, 160);
    nimbo::Color right = drawnAt(320, 160);
    EXPECT_GT(std::abs(left.r - right.r) + std::abs(left.b - right.b), 60);
    // A seek back shows lower numbers without an ending.
    for (int i = 0; i < 250 && video->getFrameNumber() < 6; ++i) {
        Session::activeScene->draw();
        Session::activeScene->update(0.04f);
        video->getClip()->waitForCache(0.5f, WORKER_WAIT);
    }
    ASSERT_GE(video->getFrameNumber(), 6);
    endings = 0;
    video->setProperty("time", "0");
    for (int i = 0; i < 3; ++i) {
        video->getClip()->waitForCache(0.5f, WORKER_WAIT);
        Session::activeScene->draw();
    }
    EXPECT_LT(video->getFrameNumber(), 6);
    EXPECT_EQ(endings, 0);
}

TEST_F(VideoObjects, TheClipPausesWhileTheObjectIsFadedToItsThreshold) {
    clip("a.ogv");
    sound("test", "voice");
    std::filesystem::create_directories(dir / "chapters/test/video/music");
    std::filesystem::copy_file(dir / "chapters/test/audio/music/voice.wav",
                               dir / "chapters/test/video/music/voice.wav");
    room(R"(<Object type="VideoObject" name="v" video="a" alpha_pause_treshold="30" audio="music/voice.wav"/>
            <Object type="VideoObject" name="w" video="a" alpha_pause_treshold="300"/>)");
    auto* video = object<nimbovideo::VideoObject>("v");
    Session::activeScene->draw();
    // A clip with a sound of its own keeps time by it, in the sound's own category when it has one.
    EXPECT_NE(dynamic_cast<nimbovideo::AudioVideoTimer*>(video->getClip()->getTimer()), nullptr);
    EXPECT_FALSE(echon::mgr->hasCategory("video"));
    struct Case {
        float alpha;
        bool paused;
    } cases[] = {{1.0f, false}, {0.1f, true}, {0.05f, true}, {0.2f, false}, {0.0f, true}, {1.0f, false}};
    for (const Case& c : cases) {
        video->setAlpha(c.alpha);
        Session::activeScene->update(0.0f);
        EXPECT_EQ(video->getClip()->isPaused(), c.paused) << c.alpha;
    }
    // A threshold above 255 is 255: always paused once the alpha changes at all.
    auto* always = object<nimbovideo::VideoObject>("w");
    always->setAlpha(0.99f);
    Session::activeScene->update(0.0f);
    EXPECT_TRUE(always->getClip()->isPaused());
}

TEST_F(VideoObjects, FilesThatCannotBePlayedAreLoggedAndShowNothing) {
    clip("good.ogv");
    std::string good = vessot::File::hread(dir / "chapters/test/video/good.ogv");
    write("chapters/test/video/cut.ogv", good.substr(0, 120));
    write("chapters/test/video/text.ogv", "not a video at all");
    struct Case {
        const char* name;
        const char* line;
    } cases[] = {
        {"gone", "[nimbovideo] ERROR: Unable to find video file: "},
        {"cut", "[nimbovideo] ERROR: Failed to load video file: "},
        {"text", "[nimbovideo] ERROR: Failed to load video file: "},
    };
    for (const Case& c : cases) {
        room("<Object type=\"VideoObject\" name=\"v\" x=\"0\" y=\"0\" w=\"426\" h=\"320\" video=\"" +
             std::string(c.name) + "\" time=\"1\"/>");
        auto* video = object<nimbovideo::VideoObject>("v");
        for (int i = 0; i < 3; ++i) {
            Session::activeScene->draw();
            Session::activeScene->update(0.04f);
        }
        EXPECT_EQ(video->getClip(), nullptr) << c.name;
        EXPECT_EQ(drawnAt(200, 160), nimbo::Color(200, 100, 50, 255)) << c.name; // only the room shows
        std::string text = log();
        EXPECT_NE(text.find(c.line + dir.path + "/chapters/test/video/" + c.name + ".ogv"), std::string::npos)
            << c.name << "\n"
            << text;
        EXPECT_NE(text.find("[nimbovideo] WARNING: VideoObject ignoring 'time' param, mClip is NULL"),
                  std::string::npos);
    }
}
