#include "MediaGen.h"
#include "TempDir.h"
#include "reelix/TheoraVideoManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float STEP = 1.0f / 25.0f;
// The longest wait for the decoding worker; a wait ends as soon as the frames are there.
constexpr float WAIT = 60.0f;

// A timer that records what the clip asks of it.
class RecordingTimer : public TheoraTimer {
public:
    void update(float timeDelta) override {
        ++updates;
        TheoraTimer::update(timeDelta);
    }
    void seek(float time) override {
        seeks.push_back(time);
        TheoraTimer::seek(time);
    }
    int updates = 0;
    std::vector<float> seeks;
};

std::vector<vessot::String>& logged() {
    static std::vector<vessot::String> lines;
    return lines;
}

void captureLog(const vessot::String& message) {
    logged().push_back(message);
}

TheoraDataSource* memorySource(const mediagen::Bytes& bytes, const char* name = "clip.ogv") {
    auto* buffer = new unsigned char[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), buffer);
    return new TheoraMemoryFileDataSource(buffer, bytes.size(), name);
}

struct Rgba {
    int r, g, b, a;
};

Rgba pixel(TheoraVideoFrame* frame, int x, int y) {
    const unsigned char* p = frame->getBuffer() + ((size_t)y * frame->getStride() + x) * 4;
    return Rgba{p[0], p[1], p[2], p[3]};
}

// What a flat frame of the test clip should look like, by the textbook BT.601 formula.
Rgba expectedColour(int frame) {
    mediagen::Ycbcr c = mediagen::frameColour(frame);
    double y = 1.164383 * (c.y - 16), u = c.cb - 128, v = c.cr - 128;
    auto clamp = [](double x) { return (int)std::lround(std::clamp(x, 0.0, 255.0)); };
    return Rgba{clamp(y + 1.596027 * v), clamp(y - 0.812968 * v - 0.391762 * u), clamp(y + 2.017232 * u), 255};
}

void expectColour(TheoraVideoFrame* frame, int x, int y, const Rgba& want) {
    Rgba got = pixel(frame, x, y);
    EXPECT_NEAR(got.r, want.r, 8);
    EXPECT_NEAR(got.g, want.g, 8);
    EXPECT_NEAR(got.b, want.b, 8);
}

class Clips : public ::testing::Test {
protected:
    void SetUp() override {
        logged().clear();
        TheoraVideoManager::setLogFunction(captureLog);
        manager = std::make_unique<TheoraVideoManager>(1);
    }
    void TearDown() override {
        manager.reset();
        TheoraVideoManager::setLogFunction(nullptr);
    }

    TheoraVideoClip* clipOf(const mediagen::ClipSettings& settings, int mode = TheoraOutputRGB, int precached = 8) {
        return manager->createVideoClip(memorySource(mediagen::theoraClip(settings)), mode, precached);
    }
    // Plays the clip in steps of one frame time, taking each due frame; answers the frame numbers
    // shown. The worker is given time to fill the queue before every step.
    std::vector<int> play(TheoraVideoClip* clip, int steps) {
        std::vector<int> shown;
        for (int i = 0; i < steps; ++i) {
            clip->waitForCache(1.0f, WAIT);
            if (TheoraVideoFrame* frame = clip->getNextFrame()) {
                shown.push_back(frame->getFrameNumber());
                clip->popFrame();
            }
            clip->update(STEP);
        }
        return shown;
    }
    bool loggedSomething(const std::string& part) {
        return std::any_of(logged().begin(), logged().end(),
                           [&](const vessot::String& line) { return line.find(part) != std::string::npos; });
    }

    std::unique_ptr<TheoraVideoManager> manager;
};

std::vector<int> range(int from, int to) {
    std::vector<int> out;
    for (int i = from; i < to; ++i) {
        out.push_back(i);
    }
    return out;
}

} // namespace

TEST_F(Clips, ReportsFrameAndPictureRegion) {
    mediagen::ClipSettings settings;
    settings.width = 40;
    settings.height = 30;
    TheoraVideoClip* clip = clipOf(settings);
    EXPECT_EQ(clip->getWidth(), 48);
    EXPECT_EQ(clip->getHeight(), 32);
    EXPECT_EQ(clip->getSubFrameOffsetX(), 0);
    EXPECT_EQ(clip->getSubFrameWidth(), 40);
    EXPECT_EQ(clip->getSubFrameHeight(), 30);
    EXPECT_FLOAT_EQ(clip->getFPS(), 25.0f);
    EXPECT_EQ(manager->getSupportedDecoders(), vessot::Array<vessot::String>{"Theora"});
    TheoraVideoClip* padded =
        manager->createVideoClip(memorySource(mediagen::theoraClip(settings)), TheoraOutputRGB, 2, true);
    ASSERT_TRUE(padded->waitForCache(1.0f, WAIT));
    EXPECT_EQ(padded->getFrameQueue()->getFirstAvailableFrame()->getStride(), 64);
    manager->destroyVideoClip(padded);
    manager->destroyVideoClip(clip);
}

TEST_F(Clips, FramesComeInOrderWithTheirColours) {
    mediagen::ClipSettings settings;
    TheoraVideoClip* clip = clipOf(settings);
    std::vector<int> shown;
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(clip->waitForCache(0.0f, WAIT));
        TheoraVideoFrame* frame = clip->getNextFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->getWidth(), 64);
        EXPECT_FLOAT_EQ(frame->getTimeToDisplay(), i * STEP);
        expectColour(frame, 20, 20, expectedColour(frame->getFrameNumber()));
        shown.push_back(frame->getFrameNumber());
        clip->popFrame();
        clip->update(STEP);
    }
    EXPECT_EQ(shown, range(0, 12));
}

TEST_F(Clips, EveryChromaLayoutConverts) {
    for (mediagen::Chroma chroma : {mediagen::Chroma::C420, mediagen::Chroma::C422, mediagen::Chroma::C444}) {
        SCOPED_TRACE((int)chroma);
        mediagen::ClipSettings settings;
        settings.chroma = chroma;
        settings.frames = 3;
        TheoraVideoClip* clip = clipOf(settings);
        ASSERT_TRUE(clip->waitForCache(1.0f, WAIT) || clip->getNumReadyFrames() == 3);
        TheoraVideoFrame* frame = clip->getNextFrame();
        ASSERT_NE(frame, nullptr);
        expectColour(frame, 5, 5, expectedColour(0));
        expectColour(frame, 60, 40, expectedColour(0));
        EXPECT_EQ(pixel(frame, 5, 5).a, 255);
        manager->destroyVideoClip(clip);
    }
}

TEST_F(Clips, TimerDropsFramesWhoseTimeHasPassed) {
    TheoraVideoClip* clip = clipOf(mediagen::ClipSettings{});
    ASSERT_TRUE(clip->waitForCache(1.0f, WAIT));
    EXPECT_EQ(clip->getNextFrame()->getFrameNumber(), 0);
    clip->update(5 * STEP + 0.01f);
    TheoraVideoFrame* frame = clip->getNextFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getFrameNumber(), 5);
    clip->popFrame();
    EXPECT_EQ(clip->getNextFrame(), nullptr); // frame 6 is not due yet
    EXPECT_EQ(clip->getFrameQueue()->getFirstAvailableFrame()->getFrameNumber(), 6);
}

TEST_F(Clips, LoopingRestartsNumberingAndSeeksTheTimerToZero) {
    mediagen::ClipSettings settings;
    settings.frames = 6;
    TheoraVideoClip* clip = clipOf(settings);
    RecordingTimer timer;
    clip->setTimer(&timer);
    // The whole clip is decoded before looping is switched on, as it can be for a short clip.
    EXPECT_FALSE(clip->waitForCache(1.0f, WAIT));
    clip->setAutoRestart(true);
    std::vector<int> shown = play(clip, 15);
    std::vector<int> expected = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(timer.seeks, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_FALSE(clip->isDone());
    manager->destroyVideoClip(clip);
}

TEST_F(Clips, PlainClipIsDoneAfterItsLastFrameTime) {
    mediagen::ClipSettings settings;
    settings.frames = 4;
    TheoraVideoClip* clip = clipOf(settings);
    EXPECT_EQ(play(clip, 3), range(0, 3));
    ASSERT_EQ(clip->getNextFrame()->getFrameNumber(), 3);
    clip->popFrame();
    // The last frame is shown at 3 frame times and lasts until 4.
    EXPECT_FALSE(clip->isDone());
    clip->update(STEP);
    EXPECT_TRUE(clip->isDone());
}

TEST_F(Clips, SeekGoesToTheTimerAndDecodesFromTheKeyframeBefore) {
    mediagen::ClipSettings settings;
    settings.frames = 20;
    settings.keyframeInterval = 8;
    TheoraVideoClip* clip = clipOf(settings);
    RecordingTimer timer;
    clip->setTimer(&timer);
    ASSERT_TRUE(clip->waitForCache(1.0f, WAIT));
    clip->seek(10 * STEP);
    EXPECT_EQ(timer.seeks, std::vector<float>{10 * STEP});
    ASSERT_TRUE(clip->waitForCache(1.0f, WAIT));
    TheoraVideoFrame* frame = clip->getNextFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getFrameNumber(), 10);
    expectColour(frame, 30, 30, expectedColour(10));
    clip->popFrame();
    clip->update(STEP);
    EXPECT_EQ(play(clip, 12), range(11, 20));
    clip->seek(0.0f);
    EXPECT_EQ(play(clip, 2), range(0, 2));
}

TEST_F(Clips, PausedClipDoesNotAdvanceItsTimer) {
    TheoraVideoClip* clip = clipOf(mediagen::ClipSettings{});
    RecordingTimer timer;
    clip->setTimer(&timer);
    clip->pause();
    EXPECT_TRUE(clip->isPaused());
    EXPECT_TRUE(timer.isPaused());
    clip->update(1.0f);
    EXPECT_EQ(timer.updates, 0);
    EXPECT_EQ(timer.getTime(), 0.0f);
    clip->play();
    clip->update(0.5f);
    EXPECT_EQ(timer.updates, 1);
    EXPECT_FLOAT_EQ(timer.getTime(), 0.5f);
    clip->setTimer(nullptr);
    clip->setPlaybackSpeed(2.0f);
    clip->update(0.5f);
    EXPECT_FLOAT_EQ(clip->getTimer()->getTime(), 1.0f);
}

TEST_F(Clips, AlphaClipFillsTheFourthByteFromTheAlphaPicture) {
    mediagen::ClipSettings settings;
    settings.alpha = true;
    settings.frames = 2;
    TheoraVideoClip* clip = clipOf(settings, TheoraOutputRGBA);
    EXPECT_EQ(clip->getSubFrameWidth(), 64);
    EXPECT_EQ(clip->getSubFrameHeight(), 48);
    EXPECT_GE(clip->getWidth(), 64);
    ASSERT_TRUE(clip->waitForCache(0.0f, WAIT));
    TheoraVideoFrame* frame = clip->getNextFrame();
    EXPECT_NEAR(pixel(frame, 10, 24).a, mediagen::alphaAt(10, 64), 4);
    EXPECT_NEAR(pixel(frame, 50, 24).a, mediagen::alphaAt(50, 64), 4);
    expectColour(frame, 50, 24, expectedColour(0));

    TheoraVideoClip* opaque = clipOf(settings, TheoraOutputRGB);
    EXPECT_EQ(opaque->getSubFrameWidth(), 128);
    ASSERT_TRUE(opaque->waitForCache(0.0f, WAIT));
    EXPECT_EQ(pixel(opaque->getNextFrame(), 10, 24).a, 255);
}

TEST_F(Clips, OtherStreamsInTheFileAreSkipped) {
    mediagen::ClipSettings settings;
    settings.withAudio = true;
    settings.frames = 6;
    TheoraVideoClip* clip = clipOf(settings);
    EXPECT_EQ(clip->getWidth(), 64);
    EXPECT_EQ(play(clip, 6), range(0, 6));
}

TEST_F(Clips, MemorySourceOwnsAndServesItsBytes) {
    auto* buffer = new unsigned char[10];
    for (int i = 0; i < 10; ++i) {
        buffer[i] = (unsigned char)i;
    }
    TheoraMemoryFileDataSource source(buffer, 10, "intro.ogv");
    EXPECT_EQ(source.repr(), "MEM:intro.ogv");
    EXPECT_EQ(source.size(), 10u);
    unsigned char out[8];
    EXPECT_EQ(source.read(out, 4), 4);
    EXPECT_EQ(out[3], 3);
    EXPECT_EQ(source.tell(), 4u);
    source.seek(8);
    EXPECT_EQ(source.read(out, 8), 2);
    EXPECT_EQ(out[1], 9);
    EXPECT_EQ(source.read(out, 8), 0);
    source.seek(100);
    EXPECT_EQ(source.tell(), 10u);
}

TEST_F(Clips, FileSourceReadsAResource) {
    TempDir dir;
    mediagen::writeFile(dir / "clip.ogv", mediagen::theoraClip(mediagen::ClipSettings{}));
    TheoraVideoClip* clip = manager->createVideoClip(vessot::String(dir / "clip.ogv"), TheoraOutputRGB, 4);
    EXPECT_EQ(clip->getWidth(), 64);
    EXPECT_EQ(clip->getName(), dir / "clip.ogv");
    EXPECT_EQ(play(clip, 3), range(0, 3));
}

TEST_F(Clips, BrokenInputGivesWidthZeroAndALogLine) {
    mediagen::Bytes clip = mediagen::theoraClip(mediagen::ClipSettings{});
    mediagen::ClipSettings huge;
    huge.width = 4112;
    huge.height = 16;
    huge.frames = 1;
    struct Case {
        const char* name;
        mediagen::Bytes bytes;
        int mode;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, TheoraOutputRGB, "no Theora stream"},
        {"garbage", mediagen::Bytes(5000, 0x5a), TheoraOutputRGB, "no Theora stream"},
        {"sound only", mediagen::vorbis(mediagen::tone(0.1, 22050, 1, 440, 0.5f), 22050, 1), TheoraOutputRGB,
         "no Theora stream"},
        {"headers cut", mediagen::Bytes(clip.begin(), clip.begin() + 200), TheoraOutputRGB, "truncated Theora headers"},
        {"too large", mediagen::theoraClip(huge), TheoraOutputRGB, "unsupported frame size 4112x16"},
        {"output mode", clip, 5, "unsupported output mode 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TheoraVideoClip* broken = manager->createVideoClip(memorySource(c.bytes, c.name), c.mode, 4);
        EXPECT_EQ(broken->getWidth(), 0);
        EXPECT_TRUE(broken->isDone());
        EXPECT_FALSE(broken->waitForCache(1.0f, WAIT));
        EXPECT_EQ(broken->getNextFrame(), nullptr);
        EXPECT_TRUE(loggedSomething(std::string("Unable to load video clip 'MEM:") + c.name + "': " + c.reason));
        broken->update(STEP);
        broken->seek(1.0f);
        manager->destroyVideoClip(broken);
    }
    TheoraVideoClip* missing = manager->createVideoClip(vessot::String("/nonexistent/clip.ogv"));
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_TRUE(loggedSomething("Unable to open video file '/nonexistent/clip.ogv'"));
}

TEST_F(Clips, TruncatedDataEndsTheClipEarly) {
    mediagen::ClipSettings settings;
    settings.textured = true;
    settings.frames = 40;
    mediagen::Bytes bytes = mediagen::theoraClip(settings);
    bytes.resize(bytes.size() * 6 / 10);
    TheoraVideoClip* clip = manager->createVideoClip(memorySource(bytes), TheoraOutputRGB, 8);
    ASSERT_GT(clip->getWidth(), 0);
    std::vector<int> shown = play(clip, 41);
    EXPECT_GT(shown.size(), 0u);
    EXPECT_LT(shown.size(), 40u);
    EXPECT_TRUE(clip->isDone());
}
