#include "marionix/Actor.h"
#include "vessot/Exception.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Marionix::Actor;
using Marionix::Job;

namespace {

using Log = std::vector<std::string>;

// An actor that writes every callback into a log.
class TestActor : public Actor {
public:
    explicit TestActor(Log& log) : Actor("tester"), log(log) {}
    void OnStartMovement() override { log.push_back("startMovement"); }
    void OnStopMovement() override { log.push_back("stopMovement"); }
    void OnDirectionChanged() override { log.push_back("direction"); }
    void OnStartAnimation(const vessot::String& a) override { log.push_back("startAnimation " + std::string(a)); }
    void OnStopAnimation(const vessot::String& a) override { log.push_back("stopAnimation " + std::string(a)); }
    void getAnimationFrameName(const vessot::String& a, float t) override {
        log.push_back("frame " + std::string(a) + " " + std::string(vessot::String::fromFloat(t)));
    }
    float getAnimationLength(const vessot::String&) override { return animationLength; }

    float animationLength = 1.0f;
    Log& log;
};

// A job that logs its calls, lasts a number of updates, and may run a hook inside each call.
class TestJob : public Job {
public:
    TestJob(std::string name, Log& log, int updates = 1) : name(std::move(name)), log(log), updatesLeft(updates) {}
    ~TestJob() override { log.push_back("destroy " + name); }

    Job* clone() const override { return new TestJob(name, log, updatesLeft); }
    void start() override {
        log.push_back("start " + name);
        if (onStart) {
            onStart();
        }
    }
    void update(float) override {
        log.push_back("update " + name);
        --updatesLeft;
        if (onUpdate) {
            onUpdate();
        }
    }
    bool isDone() override { return updatesLeft <= 0; }
    vessot::String getTypeName() const override { return vessot::String(name); }
    void cancel() override {
        log.push_back("cancel " + name);
        if (onCancel) {
            onCancel();
        }
    }

    std::string name;
    Log& log;
    int updatesLeft;
    std::function<void()> onStart, onUpdate, onCancel;
};

// Moves its actor one unit per update for a number of updates.
class WalkJob : public TestJob {
public:
    WalkJob(Log& log, int steps) : TestJob("walk", log, steps) {
        onUpdate = [this] {
            morvec::Vector3 p = getActor()->getPosition();
            getActor()->setPosition(p.x + 1, p.y, p.z);
        };
    }
};

Log without(const Log& log, const std::string& prefix) {
    Log kept;
    for (const auto& entry : log) {
        if (entry.rfind(prefix, 0) != 0) {
            kept.push_back(entry);
        }
    }
    return kept;
}

} // namespace

TEST(ActorQueue, InsertIndicesAndAccess) {
    Log log;
    TestActor actor(log);
    EXPECT_EQ(actor.getCurrentJob(), nullptr);
    EXPECT_EQ(actor.getLastJob(), nullptr);
    EXPECT_EQ(actor.getCurrentJobType(), "");

    struct Case {
        unsigned index;
        std::vector<std::string> expected;
    };
    auto* a = new TestJob("a", log);
    auto* b = new TestJob("b", log);
    actor.addJob(a);
    actor.addJob(b);
    for (const Case& c :
         std::vector<Case>{{1, {"a", "x", "b"}}, {0, {"x", "a", "x", "b"}}, {1000, {"x", "a", "x", "b", "x"}}}) {
        actor.insertJob(c.index, new TestJob("x", log));
        std::vector<std::string> names;
        for (unsigned i = 0; i < actor.getJobQueueSize(); ++i) {
            names.push_back(actor.getJob(i)->getTypeName());
            EXPECT_EQ(actor.getJob(i)->getActor(), &actor);
        }
        EXPECT_EQ(names, c.expected) << "insert at " << c.index;
    }
    EXPECT_EQ(actor.getCurrentJobType(), "x");
    EXPECT_EQ(actor.getLastJob()->getTypeName(), "x");
    EXPECT_THROW(actor.getJob(5), vessot::_IndexError);
}

TEST(ActorQueue, RemoveLastJobAliveOrDestroyed) {
    Log log;
    TestActor actor(log);
    auto* a = new TestJob("a", log);
    auto* b = new TestJob("b", log);
    actor.addJob(a);
    actor.addJob(b);

    Job* taken = actor.removeLastJob(false);
    ASSERT_EQ(taken, b);
    EXPECT_EQ(actor.getJobQueueSize(), 1u);
    EXPECT_EQ(taken->getActor(), &actor) << "a job taken out alive keeps its actor";
    EXPECT_TRUE(log.empty());

    // Started by hand later, it starts once only.
    taken->begin();
    taken->begin();
    EXPECT_EQ(log, (Log{"start b"}));
    delete taken;

    EXPECT_EQ(actor.removeLastJob(true), nullptr);
    EXPECT_EQ(log.back(), "destroy a");
    EXPECT_EQ(actor.getJobQueueSize(), 0u);
    EXPECT_EQ(actor.removeLastJob(true), nullptr);
}

TEST(ActorQueue, JobsRunInOrderOneStartPerJob) {
    Log log;
    TestActor actor(log);
    actor.addJob(new TestJob("a", log, 2));
    actor.addJob(new TestJob("b", log, 1));
    actor.update(0.1f);
    actor.update(0.1f);
    EXPECT_EQ(actor.getCurrentJobType(), "b");
    actor.update(0.1f);
    actor.update(0.1f);
    EXPECT_EQ(log, (Log{"start a", "update a", "update a", "destroy a", "start b", "update b", "destroy b"}));
    EXPECT_EQ(actor.getJobQueueSize(), 0u);
}

TEST(ActorQueue, JobStartedByHandIsNotStartedAgain) {
    Log log;
    TestActor actor(log);
    auto* walk = new TestJob("a", log, 2);
    actor.addJob(walk);
    walk->begin();
    EXPECT_TRUE(walk->isStarted());
    actor.update(0.0f);
    EXPECT_EQ(log, (Log{"start a", "update a"}));
}

TEST(ActorQueue, ClearCancelsOnlyAStartedCurrentJob) {
    Log log;
    TestActor actor(log);
    actor.addJob(new TestJob("a", log, 5));
    actor.addJob(new TestJob("b", log));
    actor.clearJobs();
    EXPECT_EQ(log, (Log{"destroy a", "destroy b"})) << "a job that never started is not cancelled";

    log.clear();
    auto* a = new TestJob("a", log, 5);
    a->onCancel = [&] { log.push_back("current during cancel: " + std::string(actor.getCurrentJobType())); };
    actor.addJob(a);
    actor.addJob(new TestJob("b", log));
    actor.update(0.1f);
    actor.clearJobs();
    EXPECT_EQ(log, (Log{"start a", "update a", "cancel a", "current during cancel: ", "destroy a", "destroy b"}));
    EXPECT_EQ(actor.getJobQueueSize(), 0u);
}

TEST(ActorQueue, DestructorDoesNotCancel) {
    Log log;
    {
        TestActor actor(log);
        actor.addJob(new TestJob("a", log, 5));
        actor.update(0.1f);
    }
    EXPECT_EQ(log, (Log{"start a", "update a", "destroy a"}));
}

TEST(ActorQueue, ClearFromInsideARunningJobKeepsItAliveUntilItReturns) {
    for (const char* when : {"start", "update"}) {
        Log log;
        TestActor actor(log);
        auto* a = new TestJob("a", log, 5);
        auto clearAndRefill = [&, a] {
            actor.clearJobs();
            // The job is still alive: touching it here must be safe.
            log.push_back("still alive " + a->name);
            actor.addJob(new TestJob("c", log));
        };
        (std::string(when) == "start" ? a->onStart : a->onUpdate) = clearAndRefill;
        actor.addJob(a);
        actor.addJob(new TestJob("b", log));
        actor.update(0.1f);
        actor.update(0.1f);
        if (std::string(when) == "start") {
            // The start changed the queue: the new front job is started and updated at once.
            EXPECT_EQ(log, (Log{"start a", "cancel a", "destroy b", "still alive a", "destroy a", "start c", "update c",
                                "destroy c"}));
        } else {
            EXPECT_EQ(log, (Log{"start a", "update a", "cancel a", "destroy b", "still alive a", "destroy a", "start c",
                                "update c", "destroy c"}));
        }
        EXPECT_EQ(actor.getJobQueueSize(), 0u);
    }
}

TEST(ActorQueue, InsertFromInsideARunningJob) {
    Log log;
    TestActor actor(log);
    auto* a = new TestJob("a", log, 1);
    a->onStart = [&] { actor.insertJob(1, new TestJob("inserted", log)); };
    actor.addJob(a);
    actor.addJob(new TestJob("b", log));
    actor.update(0.1f);
    EXPECT_EQ(actor.getCurrentJobType(), "inserted");
    EXPECT_EQ(actor.getLastJob()->getTypeName(), "b");
}

TEST(ActorQueue, ClearFromInsideCancelAndNestedUpdateAreSafe) {
    Log log;
    TestActor actor(log);
    auto* a = new TestJob("a", log, 3);
    a->onUpdate = [&] { actor.update(0.1f); };
    a->onCancel = [&] { actor.clearJobs(); };
    actor.addJob(a);
    actor.update(0.1f);
    EXPECT_EQ(log, (Log{"start a", "update a"})) << "a nested update of the same actor does nothing";
    actor.clearJobs();
    EXPECT_EQ(log.back(), "destroy a");
}

TEST(ActorCallbacks, DirectionChangesOnlyOnRealChange) {
    Log log;
    TestActor actor(log);
    actor.setDirection(1, 0, 0);
    actor.setDirection(1, 0, 0);
    actor.setDirection(0, 1, 0);
    EXPECT_EQ(log, (Log{"direction", "direction"}));
    EXPECT_EQ(actor.getDirection(), morvec::Vector3(0, 1, 0));
}

TEST(ActorCallbacks, WalkThenAnimationKeepsTheAnimationsFirstFrame) {
    Log log;
    TestActor actor(log);
    actor.addJob(new WalkJob(log, 2));
    actor.addJob(new Marionix::Jobs::Animate("Wave", false));
    for (int i = 0; i < 3; ++i) {
        actor.update(0.25f);
    }
    EXPECT_EQ(without(log, "update"), (Log{"start walk", "startMovement", "destroy walk", "stopMovement",
                                           "startAnimation Wave", "frame Wave 0", "frame Wave 0.25"}));
    EXPECT_EQ(actor.getPosition(), morvec::Vector3(2, 0, 0));
}

TEST(ActorCallbacks, StandingPoseReturnsAfterAClearedWalk) {
    Log log;
    TestActor actor(log);
    actor.addJob(new WalkJob(log, 10));
    actor.update(0.1f);
    actor.update(0.1f);
    actor.clearJobs();
    actor.update(0.1f);
    actor.update(0.1f);
    EXPECT_EQ(without(log, "update"),
              (Log{"start walk", "startMovement", "cancel walk", "destroy walk", "stopMovement"}));
}

TEST(ActorCallbacks, PositionWrittenDirectlyCallsNothing) {
    Log log;
    struct Placer : TestActor {
        using TestActor::TestActor;
        void place(float x) { actorPosition = morvec::Vector3(x, 0, 0); }
    } actor(log);
    actor.place(5);
    actor.update(0.1f);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(actor.getPosition().x, 5);
}

TEST(AnimateJob, FramesAtStartMiddleAndEnd) {
    Log log;
    TestActor actor(log);
    actor.animationLength = 2.0f;
    auto* animate = new Marionix::Jobs::Animate("Take", false);
    EXPECT_EQ(animate->getTypeName(), "Animate");
    actor.addJob(animate);
    actor.update(1.0f);
    actor.update(1.0f);
    EXPECT_EQ(log,
              (Log{"startAnimation Take", "frame Take 0", "frame Take 0.5", "frame Take 1", "stopAnimation Take"}));
    EXPECT_EQ(actor.getJobQueueSize(), 0u);
}

TEST(AnimateJob, LoopWrapsAndCancelStops) {
    Log log;
    TestActor actor(log);
    actor.animationLength = 1.0f;
    actor.addJob(new Marionix::Jobs::Animate("Idle", true));
    for (int i = 0; i < 3; ++i) {
        actor.update(0.75f);
    }
    EXPECT_EQ(actor.getCurrentJobType(), "Animate");
    actor.clearJobs();
    EXPECT_EQ(log, (Log{"startAnimation Idle", "frame Idle 0", "frame Idle 0.75", "frame Idle 0.5", "frame Idle 0.25",
                        "stopAnimation Idle"}));
}

TEST(AnimateJob, ZeroLengthFinishesAtOnceAndCloneIsFresh) {
    Log log;
    TestActor actor(log);
    actor.animationLength = 0.0f;
    Marionix::Jobs::Animate prototype("Shot", false);
    actor.addJob(prototype.clone());
    actor.update(0.01f);
    EXPECT_EQ(log, (Log{"startAnimation Shot", "frame Shot 0", "frame Shot 1", "stopAnimation Shot"}));
    EXPECT_EQ(actor.getJobQueueSize(), 0u);
    EXPECT_EQ(prototype.getActor(), nullptr);
    EXPECT_FALSE(prototype.isStarted());
}

TEST(AnimateJob, OvertimeIsTheTimePastTheEnd) {
    Log log;
    TestActor actor(log);
    actor.animationLength = 1.0f;
    // Driven by hand, so that the finished job can still be read.
    auto* job = new Marionix::Jobs::Animate("Wave", false);
    actor.addJob(job);
    job->begin();
    job->update(1.25f);
    EXPECT_TRUE(job->isDone());
    EXPECT_FLOAT_EQ(job->calcOvertime(), 0.25f);
}
