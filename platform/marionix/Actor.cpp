#include "marionix/Actor.h"

#include "vessot/Exception.h"

#include <algorithm>
#include <cmath>

namespace Marionix {

// Keeps a job alive while one of its calls runs. A job that was discarded during the call (the
// queue was cleared from inside it) is destroyed when the outermost call returns.
class CallGuard {
public:
    explicit CallGuard(Job* job) : job(job) { ++job->activeCalls; }
    ~CallGuard() {
        if (--job->activeCalls == 0 && job->discarded) {
            delete job;
        }
    }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

    bool discarded() const { return job->discarded; }

private:
    Job* job;
};

// ---------------------------------------------------------------- Job

Job::Job(const Job& other) : flag(other.flag) {}

Job::~Job() = default;

void Job::begin() {
    if (started) {
        return;
    }
    started = true;
    CallGuard guard(this);
    start();
}

// ---------------------------------------------------------------- Actor

namespace {

// Sets a flag for the lifetime of a scope, also when an exception leaves it.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag(flag) { flag = true; }
    ~ScopedFlag() { flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag;
};

} // namespace

Actor::Actor(const vessot::String& name) : actorName(name), actorSpeed(50.0f) {}

Actor::~Actor() {
    // No cancel here: at shut-down a job's cancel would reach state that is already gone.
    std::vector<Job*> detached;
    detached.swap(jobs);
    for (Job* job : detached) {
        discard(job);
    }
}

void Actor::setSpeed(float speed) {
    actorSpeed = speed;
}

void Actor::setPosition(const morvec::Vector3& position) {
    if (position != actorPosition) {
        movedThisUpdate = true;
    }
    actorPosition = position;
    OnPositionChanged(position);
}

void Actor::setPosition(float x, float y, float z) {
    setPosition(morvec::Vector3(x, y, z));
}

void Actor::setDirection(float x, float y, float z) {
    morvec::Vector3 direction(x, y, z);
    if (direction == actorDirection) {
        return;
    }
    actorDirection = direction;
    OnDirectionChanged();
}

void Actor::update(float dt) {
    // An update of the same actor from inside one of its jobs does nothing.
    if (updating) {
        return;
    }
    ScopedFlag running(updating);
    stopMovementIfDue();
    movedThisUpdate = false;
    runFrontJob(dt);
}

void Actor::stopMovementIfDue() {
    if (!moving || (mover && getCurrentJob() == mover)) {
        return;
    }
    moving = false;
    mover = nullptr;
    OnStopMovement();
}

void Actor::noteMovement(Job* job) {
    if (!movedThisUpdate) {
        return;
    }
    mover = job;
    if (!moving) {
        moving = true;
        OnStartMovement();
    }
}

void Actor::runFrontJob(float dt) {
    Job* job = getCurrentJob();
    // A start may change the queue; the job then at the front is the one to run.
    while (job && !job->started) {
        job->begin();
        Job* front = getCurrentJob();
        if (front == job) {
            break;
        }
        job = front;
    }
    if (!job) {
        noteMovement(nullptr);
        return;
    }
    bool done = false;
    {
        CallGuard guard(job);
        job->update(dt);
        if (guard.discarded()) {
            noteMovement(nullptr);
            return;
        }
        done = job->isDone();
        if (guard.discarded()) {
            noteMovement(nullptr);
            return;
        }
    }
    auto it = std::find(jobs.begin(), jobs.end(), job);
    if (it == jobs.end()) {
        // Taken out alive during its update: its new holder owns it.
        noteMovement(nullptr);
        return;
    }
    if (done) {
        jobs.erase(it);
        release(job);
        delete job;
        job = nullptr;
    }
    noteMovement(job);
}

void Actor::adopt(Job* job) {
    job->actor = this;
}

void Actor::release(Job* job) {
    if (job == mover) {
        mover = nullptr;
    }
}

void Actor::discard(Job* job) {
    if (job->activeCalls > 0) {
        job->discarded = true;
    } else {
        delete job;
    }
}

void Actor::addJob(Job* job) {
    insertJob((unsigned)jobs.size(), job);
}

void Actor::insertJob(unsigned index, Job* job) {
    if (!job) {
        return;
    }
    adopt(job);
    jobs.insert(jobs.begin() + std::min<size_t>(index, jobs.size()), job);
}

void Actor::clearJobs() {
    std::vector<Job*> detached;
    detached.swap(jobs);
    for (Job* job : detached) {
        release(job);
    }
    // Destroys the detached jobs also when a cancel throws.
    struct Discarder {
        Actor* actor;
        std::vector<Job*>& jobs;
        ~Discarder() {
            for (Job* job : jobs) {
                actor->discard(job);
            }
        }
    } discarder{this, detached};
    if (!detached.empty() && detached.front()->started) {
        CallGuard guard(detached.front());
        detached.front()->cancel();
    }
}

Job* Actor::removeLastJob(bool destroy) {
    if (jobs.empty()) {
        return nullptr;
    }
    Job* job = jobs.back();
    jobs.pop_back();
    release(job);
    if (destroy) {
        discard(job);
        return nullptr;
    }
    return job;
}

Job* Actor::getCurrentJob() const {
    return jobs.empty() ? nullptr : jobs.front();
}

vessot::String Actor::getCurrentJobType() const {
    return jobs.empty() ? vessot::String() : jobs.front()->getTypeName();
}

Job* Actor::getJob(unsigned index) const {
    if (index >= jobs.size()) {
        throw vessot::_IndexError("Job index " + vessot::String(index) + " out of range (queue size " +
                                      vessot::String((unsigned)jobs.size()) + ")",
                                  __FILE__, __LINE__);
    }
    return jobs[index];
}

Job* Actor::getLastJob() const {
    return jobs.empty() ? nullptr : jobs.back();
}

// ---------------------------------------------------------------- Jobs::Animate

namespace Jobs {

Animate::Animate(const vessot::String& animation, bool loop) : animation(animation), loop(loop) {}

Job* Animate::clone() const {
    return new Animate(animation, loop);
}

void Animate::start() {
    elapsed = 0.0f;
    done = false;
    if (getActor()) {
        getActor()->OnStartAnimation(animation);
    }
    show(0.0f);
}

void Animate::update(float dt) {
    if (done) {
        return;
    }
    elapsed += dt;
    length = getActor() ? getActor()->getAnimationLength(animation) : 0.0f;
    if (length <= 0.0f) {
        finish();
    } else if (loop) {
        show(std::fmod(std::max(elapsed, 0.0f), length) / length);
    } else if (elapsed >= length) {
        finish();
    } else {
        show(elapsed / length);
    }
}

void Animate::cancel() {
    if (!done) {
        done = true;
        if (getActor()) {
            getActor()->OnStopAnimation(animation);
        }
    }
}

float Animate::calcOvertime() {
    return done ? std::max(0.0f, elapsed - std::max(length, 0.0f)) : 0.0f;
}

void Animate::show(float progress) {
    if (getActor()) {
        getActor()->getAnimationFrameName(animation, std::clamp(progress, 0.0f, 1.0f));
    }
}

void Animate::finish() {
    show(1.0f);
    cancel();
}

} // namespace Jobs

} // namespace Marionix
