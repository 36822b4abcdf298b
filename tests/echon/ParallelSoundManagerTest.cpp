#include "echon/ParallelSoundManager.h"
#include "AudioFixture.h"

using echon::mgr;

namespace {

// Like the game's music queue: built before any audio manager exists and destroyed after it.
echon::ParallelSoundManager staticQueue(1.0f);

class MusicQueue : public OfflineAudio {
protected:
    void SetUp() override {
        OfflineAudio::SetUp();
        for (const char* name : {"ship.theme", "ship.wind", "ship.rain"}) {
            mgr->createSound(toneOgg(std::string(name) + ".ogg", 3.0), "music", "");
        }
    }
    vessot::Array<vessot::String> names(std::initializer_list<const char*> list) {
        vessot::Array<vessot::String> out;
        for (const char* n : list) {
            out.add(n);
        }
        return out;
    }
    echon::ParallelSoundManager queue{1.0f};
};

} // namespace

TEST_F(MusicQueue, UpdateListKeepsFadesAndStartsTheRightNames) {
    queue.queueSound("ship.theme");
    queue.queueSound("ship.wind");
    queue.queueSound("ship.wind");
    EXPECT_EQ(queue.getSoundQueue(), names({"ship.theme", "ship.wind"}));
    queue.updateList();
    EXPECT_TRUE(queue.getSoundQueue().empty());
    EXPECT_TRUE(mgr->isAnyPlaying("ship.theme"));
    EXPECT_TRUE(mgr->isAnyPlaying("ship.wind"));
    mix(1.5);

    queue.queueSound("ship.theme");
    queue.queueSound("ship.rain");
    queue.updateList();
    mix(0.5);
    EXPECT_TRUE(mgr->isAnyPlaying("ship.wind")); // still fading out
    mix(0.6);
    EXPECT_FALSE(mgr->isAnyPlaying("ship.wind"));
    EXPECT_TRUE(mgr->isAnyPlaying("ship.rain"));
    EXPECT_TRUE(mgr->isAnyPlaying("ship.theme"));

    queue.updateList(); // an empty queue fades everything out
    mix(1.1);
    EXPECT_FALSE(mgr->isAnyPlaying("ship.theme"));
    EXPECT_FALSE(mgr->isAnyPlaying("ship.rain"));
}

TEST_F(MusicQueue, KeptNameIsNotRestarted) {
    queue.queueSound("ship.theme");
    queue.updateList();
    auto first = mix(1.2);
    float level = peak(std::vector<float>(first.end() - 2000, first.end()));
    queue.queueSound("ship.theme");
    queue.updateList();
    // A restart would fade in from silence again.
    auto next = mix(0.05);
    EXPECT_NEAR(peak(next), level, 0.05f);
}

TEST_F(MusicQueue, StopAllThenTheSameListStartsTheMusicAgain) {
    queue.queueSound("ship.theme");
    queue.updateList();
    mix(0.2);
    queue.stopAll();
    mgr->stopAll(0.0f);
    EXPECT_FALSE(mgr->isAnyPlaying("ship.theme"));
    queue.queueSound("ship.theme");
    queue.updateList();
    EXPECT_TRUE(mgr->isAnyPlaying("ship.theme"));
}

TEST_F(MusicQueue, NameStoppedElsewhereStartsAgain) {
    queue.queueSound("ship.theme");
    queue.updateList();
    mgr->stopAll(0.0f);
    queue.setSoundQueue(names({"ship.theme"}));
    queue.updateList();
    EXPECT_TRUE(mgr->isAnyPlaying("ship.theme"));
}

TEST(ParallelSoundManager, WorksWithoutAManager) {
    ASSERT_EQ(mgr, nullptr);
    staticQueue.queueSound("a.b");
    staticQueue.updateList();
    staticQueue.stopAll();
    EXPECT_TRUE(staticQueue.getSoundQueue().empty());
}
