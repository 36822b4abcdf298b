#pragma once
// Actors with job queues. An actor runs the job at the front of its queue each update: it starts a
// job once when it becomes current, updates it, and destroys it when it reports done. Subclasses
// (characters) react to the movement, direction and animation callbacks. docs/actors.md holds the
// full rules.

#include "morvec/Vector.h"
#include "vessot/String.h"

#include <vector>

namespace Marionix {

class Actor;

// A unit of work an actor runs over several updates. The queue that holds it owns it.
class Job {
public:
    Job() = default;
    // A copy is a fresh job: not started and not yet in any queue; the job flag is copied.
    Job(const Job& other);
    Job& operator=(const Job&) = delete;
    virtual ~Job();

    virtual Job* clone() const = 0;
    virtual void update(float dt) = 0;
    virtual bool isDone() = 0;
    virtual vessot::String getTypeName() const = 0;
    virtual void start() = 0;
    // Called when a started job is cleared before it finished.
    virtual void cancel() {}
    // How long a finished job ran past its end.
    virtual float calcOvertime() { return 0.0f; }

    // Starts the job unless it was started before. Every start goes through here, never through
    // start() directly, so a job starts exactly once.
    void begin();
    bool isStarted() const { return started; }
    // The actor whose queue the job was added to; kept when the job is taken out alive.
    Actor* getActor() const { return actor; }
    bool getFlag() const { return flag; }

protected:
    // A general-purpose flag that subclasses give a meaning (the walk job: a path was found).
    bool flag = false;

private:
    friend class Actor;
    friend class CallGuard;

    Actor* actor = nullptr;
    bool started = false;
    // Calls of this job in progress, and whether it was discarded during one of them: it is then
    // destroyed when the outermost call returns instead of under the running code.
    int activeCalls = 0;
    bool discarded = false;
};

class Actor {
public:
    explicit Actor(const vessot::String& name);
    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;
    // Destroys the queued jobs without cancelling them.
    virtual ~Actor();

    virtual void OnStartMovement() {}
    virtual void OnStopMovement() {}
    virtual void OnDirectionChanged() {}
    virtual void OnPositionChanged(const morvec::Vector3& position) { (void)position; }
    virtual void OnStartAnimation(const vessot::String& animation) { (void)animation; }
    virtual void OnStopAnimation(const vessot::String& animation) { (void)animation; }
    // Shows the frame of the animation at progress t (0 to 1).
    virtual void getAnimationFrameName(const vessot::String& animation, float t) { (void)animation, (void)t; }
    // The animation's length in seconds.
    virtual float getAnimationLength(const vessot::String& animation) {
        (void)animation;
        return 0.0f;
    }
    virtual void setSpeed(float speed);
    virtual float getSpeed() const { return actorSpeed; }
    virtual void setPosition(const morvec::Vector3& position);
    virtual void setPosition(float x, float y, float z);
    virtual morvec::Vector3 getPosition() const { return actorPosition; }
    virtual morvec::Vector3 getDirection() const { return actorDirection; }
    // Runs the queue for one time step (see docs/actors.md).
    virtual void update(float dt);

    const vessot::String& getName() const { return actorName; }
    // Calls OnDirectionChanged when the direction really changes.
    void setDirection(float x, float y, float z);

    // Appends; the queue owns the job from now on.
    void addJob(Job* job);
    // Inserts before index; an index past the end appends.
    void insertJob(unsigned index, Job* job);
    // Removes every job; the current one is cancelled first when it was started.
    void clearJobs();
    // With destroy false the last job is taken out alive and returned; the caller owns it then.
    Job* removeLastJob(bool destroy);
    Job* getCurrentJob() const;
    // The current job's type name, "" when the queue is empty.
    vessot::String getCurrentJobType() const;
    unsigned getJobQueueSize() const { return (unsigned)jobs.size(); }
    // The job at a queue position (0 is the current one); throws vessot::_IndexError outside.
    Job* getJob(unsigned index) const;
    Job* getLastJob() const;

protected:
    // Written directly by subclasses, which calls no callback.
    vessot::String actorName;
    morvec::Vector3 actorPosition;
    morvec::Vector3 actorDirection;
    float actorSpeed = 0.0f;

private:
    void adopt(Job* job);
    void release(Job* job);
    void discard(Job* job);
    void stopMovementIfDue();
    void noteMovement(Job* job);
    void runFrontJob(float dt);

    std::vector<Job*> jobs;
    bool updating = false;
    // Whether setPosition changed the position during the current update.
    bool movedThisUpdate = false;
    // OnStartMovement fired without a matching OnStopMovement yet, and the job that moved.
    bool moving = false;
    Job* mover = nullptr;
};

namespace Jobs {

// Plays an animation of the actor once, or repeatedly while loop is set.
class Animate : public Job {
public:
    Animate(const vessot::String& animation, bool loop);

    Job* clone() const override;
    void update(float dt) override;
    bool isDone() override { return done; }
    vessot::String getTypeName() const override { return "Animate"; }
    void start() override;
    void cancel() override;
    float calcOvertime() override;

    const vessot::String& getAnimation() const { return animation; }
    bool isLooping() const { return loop; }

private:
    void show(float progress);
    void finish();

    vessot::String animation;
    bool loop;
    float elapsed = 0.0f;
    float length = 0.0f;
    bool done = false;
};

} // namespace Jobs

} // namespace Marionix
